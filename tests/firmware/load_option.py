#!/usr/bin/python3
"""The bytes of an active boot entry (EFI_LOAD_OPTION) for a file on a GPT
partition, assembled by hand from UEFI's layouts, as hex for the shell's setvar:

    load_option.py <description> <partition number> <start LBA> <size in LBAs> <partition GUID> <file path>

EFI_LOAD_OPTION: UINT32 Attributes, UINT16 FilePathListLength, the description
in UCS-2 ending in a null, the device path; no optional data. The device path
is a hard drive node (type 4, subtype 1, 42 bytes: partition number, start,
size, the GPT partition GUID, partition format 2 = GPT, signature type 2 =
GUID), a file path node (type 4, subtype 4) and the end node.
"""
import struct
import sys
import uuid

LOAD_OPTION_ACTIVE = 0x00000001
MEDIA_DEVICE_PATH = 4
HARD_DRIVE = 1
FILE_PATH = 4
END_OF_PATH = bytes([0x7F, 0xFF, 4, 0])


def node(kind, subtype, body):
    return struct.pack("<BBH", kind, subtype, 4 + len(body)) + body


def hard_drive(number, start, size, partition_guid):
    signature = uuid.UUID(partition_guid).bytes_le
    return node(MEDIA_DEVICE_PATH, HARD_DRIVE, struct.pack("<IQQ16sBB", number, start, size, signature, 2, 2))


def file_path(path):
    return node(MEDIA_DEVICE_PATH, FILE_PATH, (path + "\0").encode("utf-16-le"))


def load_option(description, device_path):
    return (struct.pack("<IH", LOAD_OPTION_ACTIVE, len(device_path)) +
            (description + "\0").encode("utf-16-le") + device_path)


if __name__ == "__main__":
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    description, number, start, size, guid, path = sys.argv[1:]
    path_bytes = hard_drive(int(number), int(start), int(size), guid) + file_path(path) + END_OF_PATH
    print(load_option(description, path_bytes).hex().upper())
