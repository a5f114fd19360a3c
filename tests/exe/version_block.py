"""Parses a VS_VERSIONINFO resource into its fixed part and its string tables."""

import struct

FIXED_SIGNATURE = 0xFEEF04BD


class VersionError(Exception):
    pass


def _align4(offset):
    return (offset + 3) & ~3


def _read_key(data, offset, end):
    chars = []
    while offset + 2 <= end:
        (unit,) = struct.unpack_from("<H", data, offset)
        offset += 2
        if unit == 0:
            return bytes(chars).decode("utf-16-le"), offset
        chars += struct.pack("<H", unit)
    raise VersionError("key without terminating zero")


def parse_node(data, offset=0):
    """One node: {key, type, value (bytes), children}; returns (node, end offset)."""
    if offset + 6 > len(data):
        raise VersionError("node header past the end of the block")
    length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    if length < 6 or end > len(data):
        raise VersionError("node length %d out of bounds" % length)
    key, cursor = _read_key(data, offset + 6, end)
    cursor = _align4(cursor)
    value_bytes = value_length * 2 if value_type == 1 else value_length
    if cursor + value_bytes > end:
        raise VersionError("value of %r runs past its node" % key)
    value = data[cursor:cursor + value_bytes]
    cursor = _align4(cursor + value_bytes)
    children = []
    while cursor < end:
        child, cursor = parse_node(data, cursor)
        children.append(child)
        cursor = _align4(cursor)
    return {"key": key, "type": value_type, "value": value, "children": children}, end


def text_value(node):
    """The UTF-16 text of a string node, which must end in one terminating zero."""
    value = node["value"]
    if node["type"] != 1 or len(value) < 2 or value[-2:] != b"\0\0":
        raise VersionError("value of %r is not a zero-terminated text" % node["key"])
    return value[:-2].decode("utf-16-le")


def parse_version_block(data):
    root, _ = parse_node(data)
    if root["key"] != "VS_VERSION_INFO":
        raise VersionError("root key is %r" % root["key"])
    if len(root["value"]) != 52:
        raise VersionError("fixed part has %d bytes, not 52" % len(root["value"]))
    fields = struct.unpack("<13I", root["value"])
    if fields[0] != FIXED_SIGNATURE:
        raise VersionError("fixed part signature 0x%08X" % fields[0])
    fixed = {
        "file_version": (fields[2] >> 16, fields[2] & 0xFFFF, fields[3] >> 16, fields[3] & 0xFFFF),
        "product_version": (fields[4] >> 16, fields[4] & 0xFFFF, fields[5] >> 16, fields[5] & 0xFFFF),
        "flags_mask": fields[6], "flags": fields[7], "os": fields[8],
        "type": fields[9], "subtype": fields[10], "date": (fields[11], fields[12]),
    }
    tables = {}
    translations = []
    for block in root["children"]:
        if block["key"] == "StringFileInfo":
            for table in block["children"]:
                tables[table["key"]] = [(s["key"], text_value(s)) for s in table["children"]]
        elif block["key"] == "VarFileInfo":
            for var in block["children"]:
                if var["key"] == "Translation":
                    value = var["value"]
                    translations += list(struct.unpack("<%dH" % (len(value) // 2), value))
        else:
            raise VersionError("unexpected block %r" % block["key"])
    return fixed, tables, translations
