#!/usr/bin/python3
"""Writes BCD stores (registry hive files) for the tests, with hivex, the
Debian library for Windows registry hives (python3-hivex; run it with
/usr/bin/python3, which has it).

    make_bcd.py OUTPUT [options]       one store
    make_bcd.py --batch FILE           one store per line of FILE: OUTPUT and its options, separated
                                       by tabs (lines starting with # are comments)

Options:
  --firmware bios|uefi      the loaders' program (winload.exe or winload.efi), the boot manager's
  --loader FOLDER[@PART]    a Windows loader for the installation FOLDER (C:\\Windows), its system on
                            PART: mbr:SIGNATURE:OFFSET (hexadecimal) or gpt:GUID; without PART, an MBR
                            disk whose signature is the drive letter's code repeated, offset 1 MiB
  --default FOLDER|none|missing
                            the boot manager's default: that installation's loader (the last loader
                            when not given), no default, or an object the store doesn't have
  --boot-sector NAME        a boot-sector entry of that description, in the display order
  --winre                   a Windows RE loader on a ramdisk made from Winre.wim, with its device
                            options object, in the recovery sequence of the first loader
  --firmware-entry NAME     an object that mirrors a firmware entry (type 0x101FFFFF)
  --vhd FOLDER@PATH@PLACE   a Windows loader for an installation in the virtual disk file PATH, which lies
                            on PLACE: "locate" (found by searching) or a partition as for --loader; its
                            device and system are found in the virtual disk by the loader's path (element
                            12000002) and system root (22000002), as native VHD boot entries are
  --pe-ramdisk PATH         a Windows PE loader on a ramdisk made from PATH on the boot device, with the
                            {ramdiskoptions} object, as install media have
  --locate NAME             a Windows loader found by searching for its path and system root (what
                            sysprep leaves)
  --stray-key NAME          a key under Objects named NAME (such as "{Default}"), which names no object
  --mark old|new            marks the file for the end-to-end listing (the base block's file name)
  --lists li|ri             rewrites hivex's "lh" key lists as "li", or as an "ri" cell holding an "li"
                            cell, as other writers of hives do
  --big-value               an element of 20000 bytes, stored in segments ("db")
  --dirty                   the base block's two sequence numbers differ

hivex needs an existing hive to open: a minimal empty one is written first,
a 4 KB base block and one 4 KB hive bin with the root key ("nk") and its
security cell ("sk"), the rest of the bin a free cell.
"""
import struct
import sys
import uuid

import hivex

BOOTMGR = "{9dea862c-5cdd-4e70-acc1-f32b344d4795}"
RAMDISK_OPTIONS = "{ae5534e0-a924-466c-b836-758539a3ee3a}"
BOOTMGR_TYPE, LOADER_TYPE, BOOTSECTOR_TYPE, FIRMWARE_TYPE = 0x10100002, 0x10200003, 0x10400008, 0x101FFFFF
DEVICE_OPTIONS_TYPE = 0x30000000


def empty_hive(mark):
    root_name = b"NewStoreRoot"
    nk = struct.pack("<2sHQ15IHH", b"nk", 0x2C, 0, 0, 0xFFFFFFFF, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF,
                     0, 0xFFFFFFFF, 0x80, 0xFFFFFFFF, 0, 0, 0, 0, 0, len(root_name), 0) + root_name
    nk_cell = struct.pack("<i", -(4 + len(nk) + 4)) + nk + b"\0" * 4  # 96 bytes, at 0x20
    descriptor = struct.pack("<BBHIIII", 1, 0, 0x8000, 0, 0, 0, 0)
    sk = struct.pack("<2sHIIII", b"sk", 0, 0x80, 0x80, 1, len(descriptor)) + descriptor
    sk_cell = struct.pack("<i", -(4 + len(sk) + 4)) + sk + b"\0" * 4  # at 0x80
    cells = nk_cell + sk_cell
    assert len(nk_cell) == 0x60 and len(cells) % 8 == 0
    free = 4096 - 32 - len(cells)
    hbin = struct.pack("<4sIIQQI", b"hbin", 0, 4096, 0, 0, 0) + cells + struct.pack("<i", free) + b"\0" * (free - 4)
    name = mark.encode("utf-16-le").ljust(64, b"\0")
    base = struct.pack("<4sIIQIIIIIII", b"regf", 1, 1, 0, 1, 3, 0, 1, 0x20, 4096, 1) + name
    base = base.ljust(508, b"\0")
    checksum = 0
    for (word,) in struct.iter_unpack("<I", base):
        checksum ^= word
    return (base + struct.pack("<I", checksum)).ljust(4096, b"\0") + hbin


def sz(text):
    return (1, (text + "\0").encode("utf-16-le"))


def multi_sz(items):
    return (7, ("\0".join(items) + "\0\0").encode("utf-16-le"))


def partition_descriptor(part):
    if part.startswith("gpt:"):
        partition_id, style, disk_id = uuid.UUID(part[4:]).bytes_le, 0, uuid.UUID(int=0xD1D1).bytes_le
    else:
        signature, offset = (int(x, 16) for x in part.split(":")[1:3])
        partition_id, style, disk_id = struct.pack("<Q", offset) + bytes(8), 1, struct.pack("<I", signature) + bytes(12)
    return struct.pack("<IIII", 6, 0, 0x48, 0) + partition_id + struct.pack("<II", 0, style) + disk_id + bytes(16)


def partition_device(part):
    return (3, bytes(16) + partition_descriptor(part))


# Device descriptors as discovery/bcd/BcdDevice.h describes them: type, flags, whole size, reserved, then
# what the type holds.
def descriptor(device_type, body, flags=0):
    return struct.pack("<IIII", device_type, flags, 16 + len(body), 0) + body


def boot_descriptor():
    return descriptor(5, bytes(56))


def place_descriptor(place, path):
    return locate_descriptor(0, path, kind=1) if place == "locate" else partition_descriptor(place)


def locate_descriptor(element, path="", parent=b"", kind=0):
    name = (path + "\0").encode("utf-16-le")
    parent_at = 16 + 12 + len(name) if parent else 0
    return descriptor(8, struct.pack("<III", kind, element, parent_at) + name + parent)


def file_record(inner, path):
    name = (path + "\0").encode("utf-16-le")
    return struct.pack("<III", 1, 12 + len(inner) + len(name), 5) + inner + name


def ramdisk_descriptor(inner, path):
    return descriptor(0, struct.pack("<I", 3) + bytes(20) + file_record(inner, path), flags=1)


def vhd_descriptor(inner, path):
    file_device = descriptor(0, struct.pack("<I", 5) + file_record(inner, path))
    return descriptor(0, struct.pack("<I", 6) + bytes(20) + file_device)


def ramdisk_device(options, part, path):
    return (3, uuid.UUID(options).bytes_le + ramdisk_descriptor(partition_descriptor(part), path))


def default_part(folder):
    letter = ord(folder[0].upper())
    return "mbr:%08x:100000" % (letter * 0x01010101)


def object_id(number):
    return "{%08x-0000-4000-8000-00000000c0de}" % number


def build_objects(options):
    firmware = options.get("firmware", "uefi")
    extension = ".efi" if firmware == "uefi" else ".exe"
    objects, loaders = [], []
    for index, spec in enumerate(options.get("loader", [])):
        folder, _, part = spec.partition("@")
        part = part or default_part(folder)
        identifier = object_id(0x100 + index)
        loaders.append((folder, identifier))
        objects.append((identifier, LOADER_TYPE, {
            "11000001": partition_device(part), "12000002": sz("\\Windows\\system32\\winload" + extension),
            "12000004": sz("Windows 10"), "21000001": partition_device(part),
            "22000002": sz(folder[2:] or "\\Windows")}))
    for index, spec in enumerate(options.get("vhd", [])):
        folder, path, place = spec.split("@")
        identifier = object_id(0x500 + index)
        loaders.append((folder, identifier))
        vhd = vhd_descriptor(place_descriptor(place, path), path)
        objects.append((identifier, LOADER_TYPE, {
            "11000001": (3, bytes(16) + locate_descriptor(0x12000002, parent=vhd, kind=2)),
            "12000002": sz("\\Windows\\system32\\winload" + extension), "12000004": sz("Windows 10 VHD"),
            "21000001": (3, bytes(16) + locate_descriptor(0x22000002, parent=vhd, kind=2)),
            "22000002": sz(folder[2:])}))
    for index, path in enumerate(options.get("pe-ramdisk", [])):
        ramdisk = (3, uuid.UUID(RAMDISK_OPTIONS).bytes_le + ramdisk_descriptor(boot_descriptor(), path))
        objects.append((object_id(0x600 + index), LOADER_TYPE, {
            "11000001": ramdisk, "12000002": sz("\\windows\\system32\\boot\\winload" + extension),
            "12000004": sz("Windows Setup"), "21000001": ramdisk, "22000002": sz("\\windows")}))
    if options.get("pe-ramdisk"):
        objects.append((RAMDISK_OPTIONS, DEVICE_OPTIONS_TYPE, {"31000003": (3, bytes(16) + boot_descriptor()),
                                                               "32000004": sz("\\boot\\boot.sdi")}))
    for index, name in enumerate(options.get("locate", [])):
        objects.append((object_id(0x700 + index), LOADER_TYPE, {
            "11000001": (3, bytes(16) + locate_descriptor(0x12000002)),
            "12000002": sz("\\Windows\\system32\\winload" + extension), "12000004": sz(name),
            "21000001": (3, bytes(16) + locate_descriptor(0x22000002)), "22000002": sz("\\Windows")}))
    order = [identifier for _, identifier in loaders]
    for index, name in enumerate(options.get("boot-sector", [])):
        identifier = object_id(0x200 + index)
        order.append(identifier)
        objects.append((identifier, BOOTSECTOR_TYPE, {
            "11000001": partition_device(default_part("C:")), "12000002": sz("\\" + name.lower() + ".mbr"),
            "12000004": sz(name)}))
    if options.get("winre") and objects:
        options_id, winre_id = object_id(0x301), object_id(0x300)
        part = default_part("C:")
        objects.append((options_id, DEVICE_OPTIONS_TYPE, {"12000004": sz("Windows Recovery"),
                                                          "31000003": partition_device(part),
                                                          "32000004": sz("\\Recovery\\WindowsRE\\boot.sdi")}))
        ramdisk = ramdisk_device(options_id, part, "\\Recovery\\WindowsRE\\Winre.wim")
        objects.append((winre_id, LOADER_TYPE, {
            "11000001": ramdisk, "12000002": sz("\\windows\\system32\\winload" + extension),
            "12000004": sz("Windows Recovery Environment"), "21000001": ramdisk, "22000002": sz("\\windows")}))
        objects[0][2]["14000008"] = multi_sz([winre_id])
    for index, name in enumerate(options.get("firmware-entry", [])):
        objects.append((object_id(0x400 + index), FIRMWARE_TYPE, {
            "12000004": sz(name), "12000002": sz("\\EFI\\" + name.split()[0] + "\\boot.efi")}))
    manager = {"12000004": sz("Windows Boot Manager"), "25000004": (3, struct.pack("<Q", 30)),
               "12000002": sz("\\EFI\\Microsoft\\Boot\\bootmgfw.efi" if firmware == "uefi" else "\\bootmgr"),
               "11000001": partition_device(default_part("C:"))}
    wanted = options.get("default", [loaders[-1][0] if loaders else "none"])[-1]
    if wanted == "missing":
        manager["23000003"] = sz(object_id(0xDEAD))
    elif wanted != "none":
        manager["23000003"] = sz(dict(loaders)[wanted])
    if order:
        manager["24000001"] = multi_sz(order)
    if options.get("big-value"):
        manager["27000030"] = (3, bytes(range(256)) * 78 + bytes(32))
    objects.insert(0, (BOOTMGR, BOOTMGR_TYPE, manager))
    return objects


def add_key(h, parent, name):
    return h.node_add_child(parent, name)


def write_store(path, options):
    with open(path, "wb") as handle:
        handle.write(empty_hive(options.get("mark", [""])[-1]))
    h = hivex.Hivex(path, write=True)
    root = h.root()
    description = add_key(h, root, "Description")
    h.node_set_value(description, {"key": "KeyName", "t": 1, "value": "BCD00000000\0".encode("utf-16-le")})
    objects_key = add_key(h, root, "Objects")
    for name in options.get("stray-key", []):
        h.node_set_value(add_key(h, add_key(h, objects_key, name), "Description"),
                         {"key": "Type", "t": 4, "value": struct.pack("<I", LOADER_TYPE)})
    for identifier, object_type, elements in build_objects(options):
        key = add_key(h, objects_key, identifier)
        h.node_set_value(add_key(h, key, "Description"), {"key": "Type", "t": 4, "value": struct.pack("<I", object_type)})
        elements_key = add_key(h, key, "Elements")
        for name, (value_type, data) in sorted(elements.items()):
            h.node_set_value(add_key(h, elements_key, name), {"key": "Element", "t": value_type, "value": data})
    h.commit(path)
    rewrite(path, options)


def rewrite(path, options):
    data = bytearray(open(path, "rb").read())
    lists = options.get("lists", [None])[-1]
    if lists:
        rewrite_lists(data, lists)
    if options.get("dirty"):
        struct.pack_into("<I", data, 8, struct.unpack_from("<I", data, 4)[0] + 1)
        checksum = 0
        for (word,) in struct.iter_unpack("<I", bytes(data[:508])):
            checksum ^= word
        struct.pack_into("<I", data, 508, checksum)
    open(path, "wb").write(bytes(data))


def rewrite_lists(data, kind):
    """Each lh list becomes an li (4-byte entries) in its cell; for "ri" a list
    of four or more keys has its cell split in two: an ri cell whose one entry
    is the li cell that follows it."""
    at = 4096
    while at + 8 <= len(data) and data[at:at + 4] == b"hbin":
        size = struct.unpack_from("<I", data, at + 8)[0]
        cell = at + 32
        while cell < at + size:
            length = struct.unpack_from("<i", data, cell)[0]
            if length < 0 and data[cell + 4:cell + 6] == b"lh":
                count = struct.unpack_from("<H", data, cell + 6)[0]
                offsets = [struct.unpack_from("<I", data, cell + 8 + 8 * i)[0] for i in range(count)]
                if kind == "li" or count < 4:
                    struct.pack_into("<2sH%dI" % count, data, cell + 4, b"li", count, *offsets)
                else:
                    struct.pack_into("<i2sHI4x", data, cell, -16, b"ri", 1, cell + 16 - 4096)
                    struct.pack_into("<i2sH%dI" % count, data, cell + 16, length + 16, b"li", count, *offsets)
            cell += abs(length) if length else 8
        at += size


def parse(arguments):
    output, options, index = arguments[0], {}, 1
    flags = {"--winre", "--big-value", "--dirty"}
    while index < len(arguments):
        name = arguments[index][2:]
        if arguments[index] in flags:
            options[name] = True
            index += 1
        else:
            options.setdefault(name, []).append(arguments[index + 1])
            index += 2
    if "firmware" in options:
        options["firmware"] = options["firmware"][-1]
    return output, options


def main(arguments):
    if arguments[0] == "--batch":
        lines = [line.split("\t") for line in open(arguments[1], encoding="utf-8").read().splitlines()
                 if line and not line.startswith("#")]
    else:
        lines = [arguments]
    for line in lines:
        write_store(*parse(line))


if __name__ == "__main__":
    main(sys.argv[1:])
