#!/usr/bin/env python3
"""Lists the boot store area of a sandbox drive in the form the scenarios
expect: one line per file below boot/ and efi/ (names lower-cased, since the
Windows side is case-insensitive, and the date and time in a kept copy's name
shown as <date>: "bcd.orvanta-0002-<date>-ok"), the file's kind ("old" for a store the sandbox put there,
"new" for one a stand-in tool wrote: by their first word, or for a hive by
the mark its generator put in the base block's file name; "garbage" for the
stand-in's bytes that are no hive), and "hidden"/"system" for the DOS
attributes that Wine keeps in the user.DOSATTRIB extended attribute."""
import os
import re
import sys


def kind(path):
    with open(path, "rb") as handle:
        head = handle.read(32)
    if head.startswith(b"regf"):
        with open(path, "rb") as handle:
            mark = handle.read(112)[48:112].decode("utf-16-le", errors="replace").rstrip("\0")
        return mark if mark in ("old", "new") else "hive"
    if head.startswith(b"stand-in garbage"):
        return "garbage"
    if head.startswith(b"old"):
        return "old"
    if head.startswith(b"stand-in"):
        return "new"
    return "other"


def attributes(path):
    try:
        value = int(os.getxattr(path, "user.DOSATTRIB").decode().strip("\0"), 16)
    except (OSError, ValueError):
        return ""
    return ("" if not value & 2 else " hidden") + ("" if not value & 4 else " system")


def main(root):
    lines = []
    for top in sorted(os.listdir(root)):
        if top.lower() not in ("boot", "efi"):
            continue
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in files:
                path = os.path.join(folder, name)
                relative = re.sub(r"\.orvanta-(\d+-)?\d{8}-\d{6}", r".orvanta-\1<date>", os.path.relpath(path, root).lower())
                lines.append(f"{relative} {kind(path)}{attributes(path)}")
    for line in sorted(lines):
        print(line)


if __name__ == "__main__":
    main(sys.argv[1])
