#!/usr/bin/python3
"""Signed PE images that no signing tool makes, from signed ones: edits of the
certificate table (the security data directory and the WIN_CERTIFICATE
entries it spans) and damage where the signature must notice it.

    cert_table.py append-entry <signed> <donor> <output>
        <signed> with the donor's first certificate-table entry appended as a
        second WIN_CERTIFICATE, and the table's size grown to hold it. Both
        must be signatures of the same image (osslsigncode can only nest a
        second signature).
    cert_table.py pad-table <signed> <count> <output>
        <count> zero bytes appended and counted in the table's size, so that
        the table ends in something that is no WIN_CERTIFICATE: a malformed
        table behind intact entries.
    cert_table.py flip-section-byte <image> <output>
        One byte in the middle of the first section's raw data inverted: a
        byte the Authenticode hash covers.
    cert_table.py flip-signature-byte <signed> <output>
        One byte in the middle of the first entry's RSA-2048 signature value
        inverted: the signature still parses but no longer verifies.

Anything unexpected stops it with a message instead of writing a file that
tests would misread.
"""
import struct
import sys

ENTRY_ALIGNMENT = 8
WIN_CERTIFICATE_HEADER = 8
SECURITY_DIRECTORY = 4


class NotEditable(Exception):
    pass


def _optional_header(image):
    if image[:2] != b"MZ":
        raise NotEditable("no MZ header")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise NotEditable("no PE signature")
    return pe + 4 + 20


def _security_directory_at(image):
    optional = _optional_header(image)
    magic = struct.unpack_from("<H", image, optional)[0]
    directories = {0x10B: optional + 96, 0x20B: optional + 112}.get(magic)
    if directories is None:
        raise NotEditable(f"unknown optional header magic {magic:#x}")
    count = struct.unpack_from("<I", image, directories - 4)[0]
    if count <= SECURITY_DIRECTORY:
        raise NotEditable("no security data directory")
    return directories + 8 * SECURITY_DIRECTORY


def _checksum_at(image):
    return _optional_header(image) + 64


def table(image):
    """(offset, size) of the certificate table, which must end the file."""
    offset, size = struct.unpack_from("<II", image, _security_directory_at(image))
    if size == 0:
        raise NotEditable("the image is not signed")
    if offset + size != len(image):
        raise NotEditable("the certificate table does not end the file")
    return offset, size


def _with_table_size(image, size):
    edited = bytearray(image)
    struct.pack_into("<I", edited, _security_directory_at(image) + 4, size)
    return edited


def _hashed_prefix(image):
    """The bytes before the table, less the checksum and the security directory."""
    offset, _ = table(image)
    checksum, directory = _checksum_at(image), _security_directory_at(image)
    return image[:checksum] + image[checksum + 4:directory] + image[directory + 8:offset]


def first_entry(image):
    offset, size = table(image)
    length = struct.unpack_from("<I", image, offset)[0]
    if length <= WIN_CERTIFICATE_HEADER or length > size:
        raise NotEditable(f"first entry's length {length} does not fit the table of {size} bytes")
    return image[offset:offset + length]


def append_entry(signed, donor):
    if _hashed_prefix(signed) != _hashed_prefix(donor):
        raise NotEditable("the two files are not signatures of the same image")
    entry = first_entry(donor)
    entry += bytes(-len(entry) % ENTRY_ALIGNMENT)
    _, size = table(signed)
    return bytes(_with_table_size(signed, size + len(entry))) + entry


def pad_table(signed, count):
    _, size = table(signed)
    return bytes(_with_table_size(signed, size + count)) + bytes(count)


def flip_section_byte(image):
    optional = _optional_header(image)
    sections = struct.unpack_from("<H", image, optional - 20 + 2)[0]
    optional_size = struct.unpack_from("<H", image, optional - 20 + 16)[0]
    section_table = optional + optional_size
    for index in range(sections):
        raw_size, raw_offset = struct.unpack_from("<II", image, section_table + 40 * index + 16)
        if raw_size and raw_offset + raw_size <= len(image):
            edited = bytearray(image)
            edited[raw_offset + raw_size // 2] ^= 0xFF
            return bytes(edited)
    raise NotEditable("no section with raw data")


# An OCTET STRING of 256 bytes: in an RSA-2048 signed image, the signer's
# signature value (the certificates' own signatures are BIT STRINGs).
RSA_2048_SIGNATURE = bytes([0x04, 0x82, 0x01, 0x00])


def flip_signature_byte(signed):
    entry_at, _ = table(signed)
    entry = first_entry(signed)
    found = [index for index in range(len(entry)) if entry.startswith(RSA_2048_SIGNATURE, index)]
    if len(found) != 1:
        raise NotEditable(f"{len(found)} RSA-2048 signature values in the first entry, expected one")
    edited = bytearray(signed)
    edited[entry_at + found[0] + len(RSA_2048_SIGNATURE) + 128] ^= 0xFF
    return bytes(edited)


def read(name):
    with open(name, "rb") as source:
        return source.read()


def main(args):
    command = args[0] if args else ""
    if command == "append-entry" and len(args) == 4:
        result = append_entry(read(args[1]), read(args[2]))
    elif command == "pad-table" and len(args) == 4:
        result = pad_table(read(args[1]), int(args[2]))
    elif command == "flip-section-byte" and len(args) == 3:
        result = flip_section_byte(read(args[1]))
    elif command == "flip-signature-byte" and len(args) == 3:
        result = flip_signature_byte(read(args[1]))
    else:
        sys.exit(__doc__)
    with open(args[-1], "wb") as output:
        output.write(result)


if __name__ == "__main__":
    try:
        main(sys.argv[1:])
    except NotEditable as problem:
        sys.exit(f"cert_table.py: {problem}")
