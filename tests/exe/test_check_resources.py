#!/usr/bin/env python3
"""Shows that the resource checks fail on damaged executables: each case damages
one resource of a copy of a good executable in place and expects a FAIL for it.

usage: test_check_resources.py <good Orvanta.exe>
"""

import contextlib
import io
import os
import struct
import sys
import tempfile
import unittest

import check_resources
from pe_resources import RT_GROUP_ICON, RT_ICON, RT_MANIFEST, RT_VERSION, PeFile, find

GOOD_EXE = None


def utf16(text):
    return text.encode("utf-16-le")


class DamagedExecutables(unittest.TestCase):
    def setUp(self):
        with open(GOOD_EXE, "rb") as file:
            self.image = bytearray(file.read())
        self.resources = PeFile(bytes(self.image)).resources()

    def run_check(self):
        handle, path = tempfile.mkstemp(suffix=".exe")
        try:
            with os.fdopen(handle, "wb") as file:
                file.write(self.image)
            output = io.StringIO()
            with contextlib.redirect_stdout(output):
                code = check_resources.main(["check_resources.py", path])
            return code, output.getvalue()
        finally:
            os.remove(path)

    def replace_in(self, kind, name, old, new):
        """Replaces the first occurrence of old inside one resource by new (same length)."""
        self.assertEqual(len(old), len(new))
        resource = find(self.resources, kind, name)[0]
        position = resource["data"].find(old)
        self.assertGreaterEqual(position, 0, "pattern %r not in resource %s/%s" % (old, kind, name))
        start = resource["offset"] + position
        self.image[start:start + len(new)] = new

    def expect_failure(self, check_name, detail):
        code, output = self.run_check()
        failed = [line for line in output.splitlines() if line.startswith("FAIL")]
        self.assertEqual(code, 1, output)
        self.assertTrue(any(check_name in line and detail in line for line in failed),
                        "no FAIL for %r mentioning %r in:\n%s" % (check_name, detail, output))

    def test_the_good_executable_passes(self):
        code, output = self.run_check()
        self.assertEqual(code, 0, output)
        self.assertNotIn("FAIL", output)

    def test_wrong_image_number_in_the_group(self):
        self.replace_in(RT_GROUP_ICON, 1, struct.pack("<H", 30004), struct.pack("<H", 30005))
        self.expect_failure("icon group 1", "30005")

    def test_plus_sign_not_white(self):
        dib = find(self.resources, RT_ICON, 30002)[0]
        centre_row = 16 - 1 - 8  # rows are stored bottom-up
        start = dib["offset"] + 40 + centre_row * 64 + 8 * 4
        self.image[start:start + 4] = bytes([62, 18, 207, 255])
        self.expect_failure("icon image 30002", "centre")

    def test_corner_not_transparent_in_the_mask(self):
        dib = find(self.resources, RT_ICON, 30001)[0]
        mask_start = dib["offset"] + 40 + 32 * 96
        self.image[mask_start] &= 0x7F  # bottom-left pixel shown
        self.expect_failure("icon image 30001", "corner")

    def test_image_size_differs_from_the_group(self):
        dib = find(self.resources, RT_ICON, 30004)[0]
        struct.pack_into("<i", self.image, dib["offset"] + 4, 32)
        self.expect_failure("icon image 30004", "")

    def test_manifest_with_supported_os_list(self):
        self.replace_in(RT_MANIFEST, 1, b"<description>", b"<supportedOS>")
        self.replace_in(RT_MANIFEST, 1, b"</description>", b"</supportedOS>")
        self.expect_failure("manifest 1", "supportedOS")

    def test_manifest_with_wrong_public_key_token(self):
        self.replace_in(RT_MANIFEST, 1, b"6595b64144ccf1df", b"0000000000000000")
        self.expect_failure("manifest 1", "publicKeyToken")

    def test_manifest_for_another_architecture(self):
        architecture = b'"X86"' if b'"X86"' in find(self.resources, RT_MANIFEST, 1)[0]["data"] \
            else b'"amd64"'
        self.replace_in(RT_MANIFEST, 1, architecture, b'"*' + architecture[2:])
        self.expect_failure("manifest 1", "processorArchitecture")

    def test_version_with_wrong_original_filename(self):
        self.replace_in(RT_VERSION, 1, utf16("Orvanta.exe"), utf16("Orvanta.com"))
        self.expect_failure("version block 1", "OriginalFilename")

    def test_version_with_another_string_table_language(self):
        self.replace_in(RT_VERSION, 1, utf16("080404B0"), utf16("040904B0"))
        self.expect_failure("version block 1", "040904B0")

    def test_version_with_wrong_file_version(self):
        self.replace_in(RT_VERSION, 1, struct.pack("<III", 0xFEEF04BD, 0x10000, 0x10000),
                        struct.pack("<III", 0xFEEF04BD, 0x10000, 0x20000))
        self.expect_failure("version block 1", "file_version")

    def test_version_with_wrong_translation(self):
        self.replace_in(RT_VERSION, 1, struct.pack("<HH", 0x0804, 0x04B0),
                        struct.pack("<HH", 0x0409, 0x04B0))
        self.expect_failure("version block 1", "translation")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        sys.exit(2)
    GOOD_EXE = sys.argv.pop(1)
    log = io.StringIO()
    result = unittest.main(testRunner=unittest.TextTestRunner(stream=log), exit=False).result
    if result.wasSuccessful():
        print("PASS resource checks fail on %d kinds of damage and pass the good executable"
              % (result.testsRun - 1))
        sys.exit(0)
    print(log.getvalue())
    print("FAIL resource checks: %d of %d self-tests failed"
          % (len(result.failures) + len(result.errors), result.testsRun))
    sys.exit(1)
