"""Decodes icon group directories and the device-independent bitmaps of icon images."""

import struct


class IconError(Exception):
    pass


def parse_group(data):
    """The entries of an RT_GROUP_ICON directory: width, height, colours, planes, bits, size, id."""
    if len(data) < 6:
        raise IconError("group directory shorter than its header")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise IconError("group header reserved=%d type=%d, expected 0 and 1" % (reserved, kind))
    if len(data) != 6 + 14 * count:
        raise IconError("group directory has %d bytes for %d entries" % (len(data), count))
    entries = []
    for index in range(count):
        width, height, colours, _, planes, bits, size, icon_id = struct.unpack_from(
            "<BBBBHHIH", data, 6 + 14 * index)
        entries.append({"width": width or 256, "height": height or 256, "colours": colours,
                        "planes": planes, "bits": bits, "size": size, "id": icon_id})
    return entries


def _row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


class IconDib:
    """One icon image: BITMAPINFOHEADER (double height), colour rows, then mask rows, bottom-up."""

    def __init__(self, data):
        if len(data) < 40:
            raise IconError("image shorter than its header")
        (header_size, width, double_height, planes, bits, compression) = struct.unpack_from(
            "<IiiHHI", data, 0)
        if header_size != 40:
            raise IconError("header size %d, expected 40" % header_size)
        if compression != 0:
            raise IconError("compression %d, expected uncompressed" % compression)
        if planes != 1 or bits not in (24, 32):
            raise IconError("planes %d bits %d" % (planes, bits))
        if width <= 0 or double_height != 2 * width:
            raise IconError("width %d height %d: not a square with doubled height"
                            % (width, double_height))
        self.size = width
        self.bits = bits
        self.colour_row = _row_bytes(width * bits)
        self.mask_row = _row_bytes(width)
        expected = 40 + width * (self.colour_row + self.mask_row)
        if len(data) != expected:
            raise IconError("%d bytes, expected %d for %dx%d at %d bits"
                            % (len(data), expected, width, width, bits))
        self.data = data

    def pixel(self, x, y):
        """(red, green, blue, alpha, mask bit) of the pixel at x, y counted from the top left.
        For 24-bit images alpha is 255, or 0 where the mask lets the screen show."""
        row = self.size - 1 - y
        colour = 40 + row * self.colour_row + x * (self.bits // 8)
        blue, green, red = self.data[colour], self.data[colour + 1], self.data[colour + 2]
        mask_offset = 40 + self.size * self.colour_row + row * self.mask_row + x // 8
        mask = (self.data[mask_offset] >> (7 - x % 8)) & 1
        if self.bits == 32:
            alpha = self.data[colour + 3]
        else:
            alpha = 0 if mask else 255
        return red, green, blue, alpha, mask

    def pixels(self):
        for y in range(self.size):
            for x in range(self.size):
                yield x, y, self.pixel(x, y)
