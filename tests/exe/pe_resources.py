"""Reads the machine type, the section layout and the resources of a
Windows PE executable (32-bit or 64-bit), with the standard library only."""

import struct

MACHINE_I386 = 0x14C
MACHINE_AMD64 = 0x8664

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24

RESOURCE_DIRECTORY_INDEX = 2


class PeError(Exception):
    """The file is not a PE executable that this reader understands."""


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise PeError("no MZ header")
        (pe_offset,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe_offset:pe_offset + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        coff = pe_offset + 4
        self.machine, section_count = struct.unpack_from("<HH", data, coff)
        (optional_size,) = struct.unpack_from("<H", data, coff + 16)
        optional = coff + 20
        (magic,) = struct.unpack_from("<H", data, optional)
        directories = {0x10B: optional + 96, 0x20B: optional + 112}.get(magic)
        if directories is None:
            raise PeError("unknown optional header magic 0x%X" % magic)
        self.resource_rva, self.resource_size = struct.unpack_from(
            "<II", data, directories + 8 * RESOURCE_DIRECTORY_INDEX)
        self.sections = []
        for index in range(section_count):
            header = optional + optional_size + 40 * index
            virtual_size, rva, raw_size, raw_offset = struct.unpack_from("<IIII", data, header + 8)
            self.sections.append((rva, max(virtual_size, raw_size), raw_offset, raw_size))

    def offset_of(self, rva):
        for start, size, raw_offset, raw_size in self.sections:
            if start <= rva < start + size:
                if rva - start >= raw_size:
                    raise PeError("RVA 0x%X lies in uninitialised data" % rva)
                return raw_offset + rva - start
        raise PeError("RVA 0x%X lies in no section" % rva)

    def read_rva(self, rva, size):
        offset = self.offset_of(rva)
        if offset + size > len(self.data):
            raise PeError("data at RVA 0x%X runs past the end of the file" % rva)
        return self.data[offset:offset + size]

    def resources(self):
        """Every resource as a dict: type, name, language, data (bytes), offset in the file.
        Types and names are numbers, or strings for named entries."""
        if self.resource_rva == 0:
            return []
        base = self.offset_of(self.resource_rva)
        found = []
        for type_id, type_dir in self._entries(base, 0):
            for name_id, name_dir in self._entries(base, type_dir):
                for language, leaf in self._entries(base, name_dir):
                    data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    found.append({"type": type_id, "name": name_id, "language": language,
                                  "data": self.read_rva(data_rva, size),
                                  "offset": self.offset_of(data_rva)})
        return found

    def _entries(self, base, directory):
        named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
        for index in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * index)
            yield self._entry_name(base, name), target & 0x7FFFFFFF

    def _entry_name(self, base, name):
        if not name & 0x80000000:
            return name
        offset = base + (name & 0x7FFFFFFF)
        (length,) = struct.unpack_from("<H", self.data, offset)
        return self.data[offset + 2:offset + 2 + 2 * length].decode("utf-16-le")


def find(resources, type_id, name=None, language=None):
    return [r for r in resources if r["type"] == type_id
            and (name is None or r["name"] == name)
            and (language is None or r["language"] == language)]
