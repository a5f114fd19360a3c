// Binary layouts of icon images: the device-independent bitmap of one icon
// image, the icon group directory of a resource, and the .ico file.
#pragma once

#include <cstdint>
#include <vector>

#include "IconPicture.h"

namespace orvanta::icon {

using Bytes = std::vector<std::uint8_t>;

// One image of an icon: its picture, colour depth and resource number.
struct IconImage {
    Picture picture;
    int bitCount = 32;  // 24 (transparency from the mask only) or 32 (with alpha)
    std::uint16_t resourceId = 0;
    Bytes dib;          // filled by encodeDib
};

// BITMAPINFOHEADER with double height, the colour rows, then the 1-bit mask
// rows, all bottom-up; every row padded to 32 bits.
Bytes encodeDib(const Picture& picture, int bitCount);

// The icon group resource: a directory naming each image by its resource number.
Bytes encodeGroup(const std::vector<IconImage>& images);

// A .ico file holding the same images.
Bytes encodeIcoFile(const std::vector<IconImage>& images);

}  // namespace orvanta::icon
