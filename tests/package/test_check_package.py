#!/usr/bin/env python3
"""Shows that the package checks fail on damaged zips: each case rewrites a copy of a
good zip with one fault and expects exactly the checks that should see it to fail.

usage: test_check_package.py <good Orvanta-<version>.zip> <dist folder> <source folder>
"""

import hashlib
import os
import sys
import tempfile
import unittest
import zipfile

import check_package as checks

GOOD_ZIP = DIST = SOURCE = None


class DamagedPackages(unittest.TestCase):
    def setUp(self):
        with zipfile.ZipFile(GOOD_ZIP) as archive:
            self.entries = {info.filename: (info, archive.read(info)) for info in archive.infolist()}
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)

    def failing(self, resum=True):
        """The keys of the checks that fail on the zip made from self.entries; with
        resum, SHA256SUMS is written anew for the changed files first."""
        if resum:
            lines = ["%s  %s\n" % (hashlib.sha256(data).hexdigest(), name)
                     for name, (info, data) in self.entries.items()
                     if not info.is_dir() and name != checks.SUMS]
            self.replace(checks.SUMS, "".join(lines).encode("utf-8"))
        path = os.path.join(self.folder.name, os.path.basename(GOOD_ZIP))
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
            for info, data in self.entries.values():
                archive.writestr(info, data)
        return {key for key, _, problems in checks.check(path, DIST, SOURCE) if problems}

    def replace(self, name, data):
        info = self.entries[name][0] if name in self.entries else zipfile.ZipInfo(name)
        self.entries[name] = (info, data)

    def readme(self):
        return self.entries[checks.README][1]

    def test_good_zip_passes(self):
        self.assertEqual(self.failing(resum=False), set())

    def test_readme_without_byte_order_mark(self):
        self.replace(checks.README, self.readme()[len(checks.BOM):])
        self.assertEqual(self.failing(), {"readme"})

    def test_readme_with_lf_line_ends(self):
        self.replace(checks.README, self.readme().replace(b"\r\n", b"\n"))
        self.assertEqual(self.failing(), {"readme"})

    def test_readme_with_one_lf_line_end(self):
        self.replace(checks.README, self.readme().replace(b"\r\n", b"\n", 1))
        self.assertEqual(self.failing(), {"readme"})

    def test_readme_in_gbk(self):
        text = self.readme()[len(checks.BOM):].decode("utf-8")
        self.replace(checks.README, checks.BOM + text.encode("gbk"))
        self.assertEqual(self.failing(), {"readme"})

    def test_readme_with_version_placeholder(self):
        version = os.path.basename(GOOD_ZIP)[len("Orvanta-"):-len(".zip")]
        self.replace(checks.README, self.readme().replace(version.encode(), b"@VERSION@"))
        self.assertEqual(self.failing(), {"readme"})

    def test_bin_folder_missing(self):
        del self.entries["x86/Bin/"]
        self.assertEqual(self.failing(), {"entries"})

    def test_tool_shipped_in_bin(self):
        self.replace("x64/Bin/bcdboot.exe", b"MZ")
        self.assertEqual(self.failing(), {"entries"})

    def test_damaged_executable(self):
        name = "x64/Orvanta.exe"
        data = bytearray(self.entries[name][1])
        data[len(data) // 2] ^= 0xFF
        self.replace(name, bytes(data))
        self.assertEqual(self.failing(resum=False), {"sums", "dist"})

    def test_sums_missing_a_file(self):
        lines = self.entries[checks.SUMS][1].splitlines(keepends=True)
        self.replace(checks.SUMS, b"".join(line for line in lines if b"x86/" not in line))
        self.assertEqual(self.failing(resum=False), {"sums"})

    def test_sums_with_a_file_not_in_the_zip(self):
        lines = self.entries[checks.SUMS][1] + b"%s  x86/Bin/bootsect.exe\n" % (b"0" * 64)
        self.replace(checks.SUMS, lines)
        self.assertEqual(self.failing(resum=False), {"sums"})

    def test_executable_with_the_source_path(self):
        name = "x86/Orvanta.exe"
        self.replace(name, self.entries[name][1] + (SOURCE + "/win32/Main.cpp").encode("utf-16-le"))
        self.assertEqual(self.failing(), {"dist", "path"})


if __name__ == "__main__":
    if len(sys.argv) != 4:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        sys.exit(2)
    GOOD_ZIP, DIST, SOURCE = sys.argv[1:]
    unittest.main(argv=sys.argv[:1], verbosity=1)
