#!/usr/bin/python3
"""One byte of a signed PE image inverted where the signature must notice it:

    damage_pe.py section <signed> <output>
        in the middle of the first section's raw data: a byte the Authenticode
        hash covers, so the file no longer matches the digest it was signed with
    damage_pe.py signature <signed> <output>
        in the middle of the first certificate-table entry's RSA-2048 signature
        value: the signature still parses but no longer verifies

Anything unexpected stops it with a message instead of writing a file that
tests would misread.
"""
import struct
import sys

SECURITY_DIRECTORY = 4
# An OCTET STRING of 256 bytes: in an RSA-2048 signed image, the signer's
# signature value (the certificates' own signatures are BIT STRINGs).
RSA_2048_SIGNATURE = bytes([0x04, 0x82, 0x01, 0x00])


class NotDamageable(Exception):
    pass


def _coff_header(image):
    if image[:2] != b"MZ":
        raise NotDamageable("no MZ header")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise NotDamageable("no PE signature")
    return pe + 4


def first_entry(image):
    """(offset, bytes) of the certificate table's first WIN_CERTIFICATE."""
    optional = _coff_header(image) + 20
    magic = struct.unpack_from("<H", image, optional)[0]
    directories = {0x10B: optional + 96, 0x20B: optional + 112}.get(magic)
    if directories is None:
        raise NotDamageable(f"unknown optional header magic {magic:#x}")
    offset, size = struct.unpack_from("<II", image, directories + 8 * SECURITY_DIRECTORY)
    length = struct.unpack_from("<I", image, offset)[0] if size >= 8 and offset + 8 <= len(image) else 0
    if length <= 8 or length > size or offset + size > len(image):
        raise NotDamageable("no certificate-table entry that fits the file")
    return offset, image[offset:offset + length]


def inverted(image, at):
    damaged = bytearray(image)
    damaged[at] ^= 0xFF
    return bytes(damaged)


def damage_section(image):
    coff = _coff_header(image)
    sections, optional_size = struct.unpack_from("<H", image, coff + 2)[0], struct.unpack_from("<H", image, coff + 16)[0]
    table = coff + 20 + optional_size
    for index in range(sections):
        raw_size, raw_offset = struct.unpack_from("<II", image, table + 40 * index + 16)
        if raw_size and raw_offset + raw_size <= len(image):
            return inverted(image, raw_offset + raw_size // 2)
    raise NotDamageable("no section with raw data")


def damage_signature(image):
    entry_at, entry = first_entry(image)
    found = [index for index in range(len(entry)) if entry.startswith(RSA_2048_SIGNATURE, index)]
    if len(found) != 1:
        raise NotDamageable(f"{len(found)} RSA-2048 signature values in the first entry, expected one")
    return inverted(image, entry_at + found[0] + len(RSA_2048_SIGNATURE) + 128)


def main(args):
    damages = {"section": damage_section, "signature": damage_signature}
    if len(args) != 3 or args[0] not in damages:
        sys.exit(__doc__)
    with open(args[1], "rb") as source:
        result = damages[args[0]](source.read())
    with open(args[2], "wb") as output:
        output.write(result)


if __name__ == "__main__":
    try:
        main(sys.argv[1:])
    except NotDamageable as problem:
        sys.exit(f"damage_pe.py: {problem}")
