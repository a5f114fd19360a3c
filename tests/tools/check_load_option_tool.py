#!/usr/bin/env python3
"""Checks orvanta_load_option: its bytes against an EFI_LOAD_OPTION encoded
here from the UEFI layouts with struct and uuid, and its refusals (exit 2, a
message, nothing on standard output)."""
import struct
import subprocess
import sys
import uuid


def node(node_type, subtype, data):
    return struct.pack("<BBH", node_type, subtype, 4 + len(data)) + data


def expected(number, start, size, guid):
    hard_drive = struct.pack("<IQQ16sBB", number, start, size, uuid.UUID(guid).bytes_le, 2, 2)
    path = (node(4, 1, hard_drive)
            + node(4, 4, "\\EFI\\Microsoft\\Boot\\bootmgfw.efi\0".encode("utf-16-le"))
            + node(0x7F, 0xFF, b""))
    return (struct.pack("<IH", 1, len(path)) + "Windows Boot Manager\0".encode("utf-16-le") + path).hex()


def run(tool, *arguments):
    return subprocess.run([tool, *arguments], capture_output=True, text=True, check=False)


def main():
    tool = sys.argv[1]
    failures = []
    guid = "0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9"
    good = [
        (("gpt", "1", "2048", "204800", "{" + guid + "}"), (1, 2048, 204800)),
        (("gpt", "0x2", "0x800", "0x32000", guid.upper()), (2, 2048, 204800)),
        (("gpt", "4294967295", "18446744073709551615", "1", guid), (4294967295, 2**64 - 1, 1)),
    ]
    for arguments, (number, start, size) in good:
        result = run(tool, *arguments)
        want = expected(number, start, size, guid) + "\n"
        if result.returncode != 0 or result.stdout != want:
            failures.append(f"{arguments}: exit {result.returncode}, {result.stdout!r} instead of {want!r}")
    bad = [
        ("gpt", "1", "2048", "204800"),
        ("mbr", "1", "2048", "204800", guid),
        ("gpt", "0", "2048", "204800", guid),
        ("gpt", "4294967296", "2048", "204800", guid),
        ("gpt", "1", "-5", "204800", guid),
        ("gpt", "1", "2048", "0", guid),
        ("gpt", "1", "2048x", "204800", guid),
        ("gpt", "1", "2048", "204800", guid[:-1]),
        ("gpt", "1", "2048", "204800", "{" + guid),
    ]
    for arguments in bad:
        result = run(tool, *arguments)
        if result.returncode != 2 or result.stdout or "orvanta_load_option:" not in result.stderr:
            failures.append(f"{arguments}: exit {result.returncode}, stdout {result.stdout!r}, stderr {result.stderr!r}")
    for failure in failures:
        print("FAIL", failure)
    print(f"{len(good) + len(bad) - len(failures)} of {len(good) + len(bad)} cases passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
