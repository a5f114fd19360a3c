#!/usr/bin/python3
"""Writes a minimal UEFI application image (PE32 or PE32+) to sign in the tests.

    make_pe.py x64|ia32 <output>

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


if __name__ == "__main__":
    with open(sys.argv[2], "wb") as output:
        output.write(image(sys.argv[1]))
