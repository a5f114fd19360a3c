#!/usr/bin/python3
"""Writes a minimal UEFI application image (PE32 or PE32+) to sign in the tests,
or rewrites the certificate table of signed ones.

    make_pe.py x64|ia32 <output>
    make_pe.py entries <output> <signed> <signed>...
        the first signed image with the certificate-table entries of all of
        them, one after another (signing tools nest a second signature
        instead); they must have been signed from the same image
    make_pe.py malformed <signed> <output>
        the signed image with 16 bytes after its table that the table's size
        counts but no entry fills

Two sections of 512 bytes each, listed in the section table in the reverse of
their order in the file, so that a hash taken in table order rather than file
order shows. The header checksum is set to a value signing tools replace.
"""
import struct
import sys

FILE_ALIGNMENT = 0x200
SECTION_ALIGNMENT = 0x1000
HEADERS_SIZE = 0x200
EFI_APPLICATION = 10


def optional_header(plus):
    magic = 0x20B if plus else 0x10B
    head = struct.pack("<HBBIIIII", magic, 14, 0, 0x200, 0x200, 0, 0x1000, 0x1000)
    if plus:
        head += struct.pack("<Q", 0x10000000)
    else:
        head += struct.pack("<II", 0x2000, 0x10000000)
    head += struct.pack("<IIHHHHHHIIIIHH", SECTION_ALIGNMENT, FILE_ALIGNMENT, 0, 0, 0, 0, 0, 0, 0,
                        0x3000, HEADERS_SIZE, 0x12345678, EFI_APPLICATION, 0)
    sizes = (0x100000, 0x1000, 0x100000, 0x1000)
    head += struct.pack("<QQQQ" if plus else "<IIII", *sizes)
    head += struct.pack("<II", 0, 16)  # LoaderFlags, NumberOfRvaAndSizes
    return head + bytes(16 * 8)


def section(name, virtual_address, raw_offset, characteristics):
    return struct.pack("<8sIIIIIIHHI", name, 0x200, virtual_address, 0x200, raw_offset, 0, 0, 0, 0,
                       characteristics)


def image(arch):
    plus = arch == "x64"
    machine = 0x8664 if plus else 0x014C
    optional = optional_header(plus)
    dos = bytearray(64)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, 64)
    coff = struct.pack("<HHIIIHH", machine, 2, 0, 0, 0, len(optional), 0x0022 if plus else 0x0102)
    table = section(b".data", 0x2000, 0x400, 0xC0000040) + section(b".text", 0x1000, 0x200, 0x60000020)
    headers = dos + b"PE\0\0" + coff + optional + table
    headers += bytes(HEADERS_SIZE - len(headers))
    text = bytes([0x31, 0xC0, 0xC3]) + bytes(range(256)) + bytes(0x200 - 259)
    data = b"Orvanta test image " * 26 + bytes(0x200 - 19 * 26)
    return bytes(headers) + text + data


def security_entry(data):
    """The file offset of the Certificate Table's directory entry."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 4 + 20
    plus = struct.unpack_from("<H", data, optional)[0] == 0x20B
    return optional + (112 if plus else 96) + 4 * 8


def table_of(data):
    entry = security_entry(data)
    offset, size = struct.unpack_from("<II", data, entry)
    return entry, offset, size


def with_entries(paths):
    images = [open(path, "rb").read() for path in paths]
    entry, offset, size = table_of(images[0])
    table = b"".join(data[table_of(data)[1]:][:table_of(data)[2]] for data in images)
    joined = bytearray(images[0][:offset] + table)
    struct.pack_into("<II", joined, entry, offset, len(table))
    return bytes(joined)


def malformed(path):
    data = bytearray(open(path, "rb").read())
    entry, offset, size = table_of(data)
    assert offset + size == len(data)
    struct.pack_into("<II", data, entry, offset, size + 16)
    return bytes(data) + bytes(16)


if __name__ == "__main__":
    if sys.argv[1] == "entries":
        result = with_entries(sys.argv[3:])
        target = sys.argv[2]
    elif sys.argv[1] == "malformed":
        result = malformed(sys.argv[2])
        target = sys.argv[3]
    else:
        result = image(sys.argv[1])
        target = sys.argv[2]
    with open(target, "wb") as output:
        output.write(result)
