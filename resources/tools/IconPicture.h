// The program's picture: a red disc with a white plus sign on a transparent background.
#pragma once

#include <cstdint>
#include <vector>

namespace orvanta::icon {

// One pixel with straight (not premultiplied) alpha.
struct Rgba {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;
};

// A square picture, rows top-down, pixels left to right.
struct Picture {
    int size = 0;
    std::vector<Rgba> pixels;

    const Rgba& at(int x, int y) const { return pixels[static_cast<std::size_t>(y * size + x)]; }
};

inline constexpr Rgba discColour{207, 18, 62, 255};
inline constexpr Rgba plusColour{255, 255, 255, 255};

// Draws the picture at size x size pixels; the disc's edge is anti-aliased,
// the plus sign lies on whole pixels so that it stays sharp at small sizes.
Picture drawPicture(int size);

}  // namespace orvanta::icon
