#!/usr/bin/env python3
"""Shows that the executable checks fail on damaged executables: each case damages a
copy of a good executable and expects a FAIL for what it damaged.

usage: test_check_executable.py <good Orvanta.exe> <x86|x64>
"""

import contextlib
import io
import os
import struct
import sys
import tempfile
import unittest

import pefile

import check_executable as checks
from check_executable import RT_GROUP_ICON, RT_ICON, RT_MANIFEST, RT_VERSION

GOOD_EXE = ARCH = None


def utf16(text):
    return text.encode("utf-16-le")


def align(value, alignment):
    return (value + alignment - 1) // alignment * alignment


def with_extra_import(image, dll, function):
    """The executable with one more DLL in its import table, as a linker would write it
    for one more import library: a new section holds the old import descriptors, one for
    dll (importing function by name) and the terminator, and the import directory points
    there. The old descriptors still point to their tables in .idata."""
    pe = pefile.PE(data=bytes(image))
    header = pe.OPTIONAL_HEADER
    thunk = "<Q" if header.Magic == pefile.OPTIONAL_HEADER_MAGIC_PE_PLUS else "<I"
    width = struct.calcsize(thunk)
    directory = header.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"]]
    count = len(pe.DIRECTORY_ENTRY_IMPORT)
    last = pe.sections[-1]
    rva = align(last.VirtualAddress + last.Misc_VirtualSize, header.SectionAlignment)

    # Descriptors, lookup table and address table (one entry and a zero each),
    # the hint/name entry, the DLL's name.
    thunks = 20 * (count + 2)
    hint = thunks + 4 * width
    name = align(hint + 2 + len(function) + 1, 2)
    body = bytearray(name + len(dll) + 1)
    body[:20 * count] = pe.get_data(directory.VirtualAddress, 20 * count)
    struct.pack_into("<5I", body, 20 * count, rva + thunks, 0, 0, rva + name,
                     rva + thunks + 2 * width)
    struct.pack_into(thunk, body, thunks, rva + hint)
    struct.pack_into(thunk, body, thunks + 2 * width, rva + hint)
    body[hint + 2:hint + 2 + len(function)] = function
    body[name:name + len(dll)] = dll

    section_header = last.get_file_offset() + 40
    if section_header + 40 > header.SizeOfHeaders or any(
            pe.__data__[section_header:section_header + 40]):
        raise AssertionError("no room for one more section header")
    pe.FILE_HEADER.NumberOfSections += 1
    header.SizeOfImage = align(rva + len(body), header.SectionAlignment)
    directory.VirtualAddress, directory.Size = rva, 20 * (count + 2)
    raw = align(len(image), header.FileAlignment)
    raw_size = align(len(body), header.FileAlignment)
    copy = bytearray(pe.write())
    copy[section_header:section_header + 40] = struct.pack(
        "<8sIIIIIIHHI", b".idata2", len(body), rva, raw_size, raw, 0, 0, 0, 0,
        0xC0000040)  # initialised data, readable, writable (the loader fills the IAT)
    copy += bytes(raw - len(copy)) + body + bytes(raw_size - len(body))
    return copy


class DamagedExecutables(unittest.TestCase):
    def setUp(self):
        with open(GOOD_EXE, "rb") as file:
            self.image = bytearray(file.read())
        self.pe = pefile.PE(data=bytes(self.image))
        self.resources = checks.resources(self.pe)

    def run_check(self, arch=None):
        handle, path = tempfile.mkstemp(suffix=".exe")
        try:
            with os.fdopen(handle, "wb") as file:
                file.write(self.image)
            output = io.StringIO()
            with contextlib.redirect_stdout(output):
                code = checks.main(["check_executable.py", path, arch or ARCH])
            return code, output.getvalue()
        finally:
            os.remove(path)

    def resource(self, kind, name):
        return checks.find(self.resources, kind, name)[0]

    def replace_in(self, kind, name, old, new):
        """Replaces the first occurrence of old inside one resource by new (same length)."""
        self.assertEqual(len(old), len(new))
        resource = self.resource(kind, name)
        position = resource.data.find(old)
        self.assertGreaterEqual(position, 0, "%r not in resource %s/%s" % (old, kind, name))
        start = resource.offset + position
        self.image[start:start + len(new)] = new

    def expect_failure(self, check_name, detail, arch=None):
        code, output = self.run_check(arch)
        failed = [line for line in output.splitlines() if line.startswith("FAIL")]
        self.assertEqual(code, 1, output)
        self.assertTrue(any(check_name in line and detail in line for line in failed),
                        "no FAIL for %r mentioning %r in:\n%s" % (check_name, detail, output))

    def test_the_good_executable_passes(self):
        code, output = self.run_check()
        self.assertEqual(code, 0, output)
        self.assertNotIn("FAIL", output)

    def test_extra_import(self):
        good = bytes(self.image)
        dlls = [entry.dll for entry in self.pe.DIRECTORY_ENTRY_IMPORT]
        for dll, function in ((b"comctl32.dll", b"InitCommonControlsEx"),
                              (b"uxtheme.dll", b"IsThemeActive")):
            with self.subTest(dll=dll):
                self.image = with_extra_import(good, dll, function)
                damaged = pefile.PE(data=bytes(self.image))
                self.assertEqual([entry.dll for entry in damaged.DIRECTORY_ENTRY_IMPORT],
                                 dlls + [dll])
                self.assertEqual([i.name for i in damaged.DIRECTORY_ENTRY_IMPORT[-1].imports],
                                 [function])
                self.expect_failure("imports", "%s is not a known DLL" % dll.decode())

    def test_larger_than_the_guard(self):
        self.image += bytes(checks.SIZE_LIMIT)
        self.expect_failure("size", "limit")

    def test_other_machine_type(self):
        self.pe.FILE_HEADER.Machine = 0xAA64  # ARM64
        self.image = bytearray(self.pe.write())
        self.expect_failure("machine type", "0xAA64")

    def test_checked_as_the_other_architecture(self):
        self.expect_failure("machine type", "is not", "x64" if ARCH == "x86" else "x86")

    def test_wrong_image_number_in_the_group(self):
        self.replace_in(RT_GROUP_ICON, 1, struct.pack("<H", 30004), struct.pack("<H", 30005))
        self.expect_failure("icon group 1", "30005")

    def test_plus_sign_not_white(self):
        centre_row = 16 - 1 - 8  # rows are stored bottom-up
        start = self.resource(RT_ICON, 30002).offset + 40 + centre_row * 64 + 8 * 4
        self.image[start:start + 4] = bytes([62, 18, 207, 255])
        self.expect_failure("icon image 30002", "centre")

    def test_corner_not_transparent_in_the_mask(self):
        mask_start = self.resource(RT_ICON, 30001).offset + 40 + 32 * 96
        self.image[mask_start] &= 0x7F  # bottom-left pixel shown
        self.expect_failure("icon image 30001", "corner")

    def test_image_size_differs_from_the_group(self):
        struct.pack_into("<i", self.image, self.resource(RT_ICON, 30004).offset + 4, 32)
        self.expect_failure("icon image 30004", "")

    def test_manifest_with_supported_os_list(self):
        self.replace_in(RT_MANIFEST, 1, b"<description>", b"<supportedOS>")
        self.replace_in(RT_MANIFEST, 1, b"</description>", b"</supportedOS>")
        self.expect_failure("manifest 1", "supportedOS")

    def test_manifest_with_wrong_public_key_token(self):
        self.replace_in(RT_MANIFEST, 1, b"6595b64144ccf1df", b"0000000000000000")
        self.expect_failure("manifest 1", "publicKeyToken")

    def test_manifest_for_another_architecture(self):
        architecture = b'"X86"' if ARCH == "x86" else b'"amd64"'
        self.replace_in(RT_MANIFEST, 1, architecture, b'"*' + architecture[2:])
        self.expect_failure("manifest 1", "processorArchitecture")

    def test_manifest_asking_for_administrator_rights(self):
        self.replace_in(RT_MANIFEST, 1, b'level="asInvoker" uiAccess="false"',
                        b'level="requireAdministrator"      ')
        self.expect_failure("manifest 1", "requestedExecutionLevel level='requireAdministrator'")

    def test_manifest_without_trust_info(self):
        self.replace_in(RT_MANIFEST, 1, b"<trustInfo ", b"<trustInfx ")
        self.replace_in(RT_MANIFEST, 1, b"</trustInfo>", b"</trustInfx>")
        self.expect_failure("manifest 1", "missing elements")

    def test_version_with_wrong_original_filename(self):
        self.replace_in(RT_VERSION, 1, utf16("Orvanta.exe"), utf16("Orvanta.com"))
        self.expect_failure("version block 1", "OriginalFilename")

    def test_version_with_a_key_twice(self):
        self.replace_in(RT_VERSION, 1, utf16("InternalName\0"), utf16("ProductName\0\0"))
        self.expect_failure("version block 1", "ProductName appears more than once")

    def test_version_with_another_string_table_language(self):
        self.replace_in(RT_VERSION, 1, utf16("080404B0"), utf16("040904B0"))
        self.expect_failure("version block 1", "040904B0")

    def test_version_with_wrong_file_version(self):
        self.replace_in(RT_VERSION, 1, struct.pack("<III", 0xFEEF04BD, 0x10000, 0x10000),
                        struct.pack("<III", 0xFEEF04BD, 0x10000, 0x20000))
        self.expect_failure("version block 1", "FileVersionMS")

    def test_version_with_wrong_translation(self):
        self.replace_in(RT_VERSION, 1, struct.pack("<HH", 0x0804, 0x04B0),
                        struct.pack("<HH", 0x0409, 0x04B0))
        self.expect_failure("version block 1", "translation")


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in checks.MACHINES:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        sys.exit(2)
    ARCH = sys.argv.pop(2)
    GOOD_EXE = sys.argv.pop(1)
    log = io.StringIO()
    result = unittest.main(testRunner=unittest.TextTestRunner(stream=log), exit=False).result
    if result.wasSuccessful():
        print("PASS %s: the checks fail on %d kinds of damage and pass the good executable"
              % (GOOD_EXE, result.testsRun - 1))
        sys.exit(0)
    print(log.getvalue())
    print("FAIL %s: %d of %d self-tests failed"
          % (GOOD_EXE, len(result.failures) + len(result.errors), result.testsRun))
    sys.exit(1)
