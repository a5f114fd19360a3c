#!/usr/bin/env python3
"""Writes the release zip: x86/ and x64/ with Orvanta.exe and an empty Bin/ folder
each, 说明.txt (UTF-8 with byte-order mark, CRLF) and SHA256SUMS for the other files.
The same inputs give the same bytes: entries in a fixed order, every entry dated
SOURCE_DATE_EPOCH (else 1980-01-01, the earliest date a zip can hold), fixed
permissions, no extra fields.

usage: make_package.py <dist folder> <version> <output zip>
"""

import hashlib
import os
import sys
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
README = "说明.txt"
EARLIEST = 315532800  # 1980-01-01 00:00:00 UTC
FILE_MODE, FOLDER_MODE = 0o644, 0o755
MSDOS_DIRECTORY = 0x10
UNIX = 3


def entry_time():
    seconds = max(int(os.environ.get("SOURCE_DATE_EPOCH") or EARLIEST), EARLIEST)
    return time.gmtime(seconds)[:6]


def readme(version):
    with open(os.path.join(HERE, README), encoding="utf-8") as file:
        text = file.read().lstrip("\ufeff").replace("\r\n", "\n")
    return ("\ufeff" + text.replace("@VERSION@", version).replace("\n", "\r\n")).encode("utf-8")


def add(archive, name, data, when):
    info = zipfile.ZipInfo(name, date_time=when)
    info.create_system = UNIX
    if name.endswith("/"):
        info.external_attr = (0o40000 | FOLDER_MODE) << 16 | MSDOS_DIRECTORY
        info.compress_type = zipfile.ZIP_STORED
    else:
        info.external_attr = (0o100000 | FILE_MODE) << 16
        info.compress_type = zipfile.ZIP_DEFLATED
    archive.writestr(info, data, compresslevel=9)


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    dist, version, output = argv[1:]
    files = [(README, readme(version))]
    for arch in ("x64", "x86"):
        with open(os.path.join(dist, arch, "Orvanta.exe"), "rb") as file:
            files += [(arch + "/", b""), (arch + "/Bin/", b""), (arch + "/Orvanta.exe", file.read())]
    sums = "".join("%s  %s\n" % (hashlib.sha256(data).hexdigest(), name)
                   for name, data in files if not name.endswith("/"))
    files.append(("SHA256SUMS", sums.encode("utf-8")))

    when = entry_time()
    partial = output + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for name, data in files:
            add(archive, name, data, when)
    os.replace(partial, output)
    print(output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
