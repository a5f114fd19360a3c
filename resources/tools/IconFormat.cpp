#include "IconFormat.h"

namespace orvanta::icon {
namespace {

constexpr std::uint32_t bitmapInfoHeaderSize = 40;
constexpr std::uint32_t groupHeaderSize = 6;
constexpr std::uint32_t icoEntrySize = 16;

void putWord(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void putDword(Bytes& out, std::uint32_t value) {
    putWord(out, value & 0xFFFF);
    putWord(out, value >> 16);
}

std::uint32_t paddedRowBytes(int bitsPerRow) {
    return static_cast<std::uint32_t>((bitsPerRow + 31) / 32 * 4);
}

// A 24-bit image has no alpha: a pixel is shown when more than half covered.
bool isShown(const Rgba& pixel, int bitCount) {
    return bitCount == 32 ? pixel.alpha != 0 : pixel.alpha > 128;
}

void putColourRow(Bytes& out, const Picture& picture, int y, int bitCount) {
    const std::size_t rowStart = out.size();
    for (int x = 0; x < picture.size; ++x) {
        const Rgba& pixel = picture.at(x, y);
        const bool shown = isShown(pixel, bitCount);
        out.push_back(shown ? pixel.blue : 0);
        out.push_back(shown ? pixel.green : 0);
        out.push_back(shown ? pixel.red : 0);
        if (bitCount == 32) out.push_back(shown ? pixel.alpha : 0);
    }
    out.resize(rowStart + paddedRowBytes(picture.size * bitCount), 0);
}

// Mask bit 1 lets the screen show through; the leftmost pixel is the high bit.
void putMaskRow(Bytes& out, const Picture& picture, int y, int bitCount) {
    Bytes row(paddedRowBytes(picture.size), 0);
    for (int x = 0; x < picture.size; ++x) {
        if (!isShown(picture.at(x, y), bitCount)) {
            row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    out.insert(out.end(), row.begin(), row.end());
}

std::uint32_t imageDataSize(const Picture& picture, int bitCount) {
    const auto rows = static_cast<std::uint32_t>(picture.size);
    return rows * (paddedRowBytes(picture.size * bitCount) + paddedRowBytes(picture.size));
}

void putBitmapInfoHeader(Bytes& out, const Picture& picture, int bitCount) {
    putDword(out, bitmapInfoHeaderSize);
    putDword(out, static_cast<std::uint32_t>(picture.size));
    putDword(out, static_cast<std::uint32_t>(picture.size * 2));  // colour rows + mask rows
    putWord(out, 1);                                              // planes
    putWord(out, static_cast<std::uint32_t>(bitCount));
    putDword(out, 0);                                             // BI_RGB
    putDword(out, imageDataSize(picture, bitCount));
    putDword(out, 0);                                             // horizontal resolution
    putDword(out, 0);                                             // vertical resolution
    putDword(out, 0);                                             // colours used
    putDword(out, 0);                                             // important colours
}

// The fields that the group directory and the .ico directory share.
void putCommonEntry(Bytes& out, const IconImage& image) {
    const auto size = static_cast<std::uint8_t>(image.picture.size);  // 256 would be 0
    out.push_back(size);
    out.push_back(size);
    out.push_back(0);  // colour count: 0 for more than 256 colours
    out.push_back(0);  // reserved
    putWord(out, 1);   // planes
    putWord(out, static_cast<std::uint32_t>(image.bitCount));
    putDword(out, static_cast<std::uint32_t>(image.dib.size()));
}

void putDirectoryHeader(Bytes& out, std::size_t count) {
    putWord(out, 0);  // reserved
    putWord(out, 1);  // type: icon
    putWord(out, static_cast<std::uint32_t>(count));
}

}  // namespace

Bytes encodeDib(const Picture& picture, int bitCount) {
    Bytes out;
    putBitmapInfoHeader(out, picture, bitCount);
    for (int y = picture.size - 1; y >= 0; --y) putColourRow(out, picture, y, bitCount);
    for (int y = picture.size - 1; y >= 0; --y) putMaskRow(out, picture, y, bitCount);
    return out;
}

Bytes encodeGroup(const std::vector<IconImage>& images) {
    Bytes out;
    putDirectoryHeader(out, images.size());
    for (const IconImage& image : images) {
        putCommonEntry(out, image);
        putWord(out, image.resourceId);
    }
    return out;
}

Bytes encodeIcoFile(const std::vector<IconImage>& images) {
    Bytes out;
    putDirectoryHeader(out, images.size());
    auto offset = static_cast<std::uint32_t>(groupHeaderSize + icoEntrySize * images.size());
    for (const IconImage& image : images) {
        putCommonEntry(out, image);
        putDword(out, offset);
        offset += static_cast<std::uint32_t>(image.dib.size());
    }
    for (const IconImage& image : images) out.insert(out.end(), image.dib.begin(), image.dib.end());
    return out;
}

}  // namespace orvanta::icon
