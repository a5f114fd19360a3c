#!/usr/bin/env python3
"""Checks the release zip: its entries (both executables, an empty Bin/ folder beside
each, 说明.txt, SHA256SUMS), 说明.txt as UTF-8 with byte-order mark and CRLF line ends,
SHA256SUMS naming every other file once and matching them (sha256sum -c on an
extracted copy). Given the dist folder, the executables must be those in it; given
the source folder, no executable may hold its path. Prints one PASS or FAIL line per
check and exits with 1 when any check fails.

usage: check_package.py <Orvanta-<version>.zip> [dist folder [source folder]]
"""

import os
import re
import subprocess
import sys
import tempfile
import zipfile

README = "说明.txt"
SUMS = "SHA256SUMS"
EXECUTABLES = ["x64/Orvanta.exe", "x86/Orvanta.exe"]
ENTRIES = sorted([README, SUMS, "x64/", "x64/Bin/", "x86/", "x86/Bin/"] + EXECUTABLES)
BOM = b"\xef\xbb\xbf"
# What the readme must tell; the version is added from the zip's name.
README_MENTIONS = ["x64\\Orvanta.exe", "x86\\Orvanta.exe", "WinPE", "bcdboot.exe",
                   "bootsect.exe", "System32", "ADK", "Bin", "管理员", "Logs", "%TEMP%",
                   "/?", "/list", "/repair", "/s X:", "/default", "/nodefault", "/log",
                   "退出代码", SUMS]


def entry_problems(archive):
    names = [info.filename for info in archive.infolist()]
    problems = []
    if sorted(names) != ENTRIES:
        missing = sorted(set(ENTRIES) - set(names))
        extra = sorted(set(names) - set(ENTRIES))
        problems.append("entries %s; missing %s, unexpected %s" % (names, missing, extra))
    if len(set(names)) != len(names):
        problems.append("an entry appears twice")
    for info in archive.infolist():
        if info.is_dir() and info.file_size:
            problems.append("folder %s has %d bytes" % (info.filename, info.file_size))
    return problems


def readme_problems(archive, version):
    if README not in archive.namelist():
        return ["no %s" % README]
    data = archive.read(README)
    problems = []
    if not data.startswith(BOM):
        problems.append("no UTF-8 byte-order mark")
    lone_lf = len(re.findall(rb"(?<!\r)\n", data))
    lone_cr = len(re.findall(rb"\r(?!\n)", data))
    if lone_lf or lone_cr or b"\r\n" not in data:
        problems.append("line ends not all CRLF: %d CRLF, %d LF alone, %d CR alone"
                        % (data.count(b"\r\n"), lone_lf, lone_cr))
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as error:
        return problems + ["not UTF-8: %s" % error]
    mentions = README_MENTIONS + ([version] if version else [])
    problems += ["does not mention %r" % word for word in mentions if word not in text]
    placeholders = re.findall(r"@[A-Z_]+@", text)
    if placeholders:
        problems.append("placeholders left: %s" % placeholders)
    return problems


def sums_problems(archive):
    if SUMS not in archive.namelist():
        return ["no %s" % SUMS]
    files = sorted(info.filename for info in archive.infolist()
                   if not info.is_dir() and info.filename != SUMS)
    lines = archive.read(SUMS).decode("utf-8", "replace").split("\n")
    if lines[-1] == "":
        lines.pop()
    bad = [line for line in lines if not re.fullmatch(r"[0-9a-f]{64}  \S.*", line)]
    problems = ["not a sha256sum line: %r" % line for line in bad]
    listed = sorted(line[66:] for line in lines if line not in bad)
    if listed != files:
        problems.append("lists %s, the zip's other files are %s" % (listed, files))
    with tempfile.TemporaryDirectory() as folder:
        archive.extractall(folder)
        run = subprocess.run(["sha256sum", "--check", "--strict", SUMS], cwd=folder,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if run.returncode != 0:
        problems.append("sha256sum -c: %s" % " / ".join(run.stdout.strip().splitlines()))
    return problems


def dist_problems(archive, dist):
    problems = []
    for name in EXECUTABLES:
        path = os.path.join(dist, name)
        with open(path, "rb") as file:
            if name not in archive.namelist() or archive.read(name) != file.read():
                problems.append("%s is not %s" % (name, path))
    return problems


def path_problems(archive, source):
    problems = []
    for name in EXECUTABLES:
        data = archive.read(name) if name in archive.namelist() else b""
        for encoding in ("utf-8", "utf-16-le"):
            if source.encode(encoding) in data:
                problems.append("%s holds %s (%s)" % (name, source, encoding))
    return problems


def check(zip_path, dist=None, source=None):
    """Every check run: [(key, what it checks, problems)]; no problems means it passed."""
    match = re.fullmatch(r"Orvanta-(\d+\.\d+\.\d+)\.zip", os.path.basename(zip_path))
    version = match.group(1) if match else None
    with zipfile.ZipFile(zip_path) as archive:
        results = [
            ("name", "zip named Orvanta-<version>.zip",
             [] if match else [os.path.basename(zip_path)]),
            ("entries", "entries: %s" % " ".join(ENTRIES), entry_problems(archive)),
            ("readme", "%s: UTF-8 with byte-order mark, CRLF, says what it should" % README,
             readme_problems(archive, version)),
            ("sums", "%s lists every other file and matches (sha256sum -c)" % SUMS,
             sums_problems(archive))]
        if dist:
            results.append(("dist", "executables are those in %s" % dist,
                            dist_problems(archive, dist)))
        if source:
            results.append(("path", "executables do not hold the source path %s" % source,
                            path_problems(archive, source)))
    return results


def main(argv):
    if not 2 <= len(argv) <= 4:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    failures = 0
    for _, name, problems in check(*argv[1:]):
        if problems:
            failures += 1
            print("FAIL %s: %s" % (name, "; ".join(problems)))
        else:
            print("PASS %s" % name)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
