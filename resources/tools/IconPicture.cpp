#include "IconPicture.h"

#include <cmath>

namespace orvanta::icon {
namespace {

// Samples per pixel along each axis for the anti-aliased disc edge.
constexpr int samplesPerAxis = 8;

struct Shape {
    double centre;
    double radius;
    double halfThickness;  // half the width of the plus sign's bars
    double halfLength;     // half the length of the plus sign's bars
};

Shape shapeFor(int size) {
    const double centre = size / 2.0;
    return Shape{centre, centre - 0.5, static_cast<double>(std::lround(size * 0.1)),
                 static_cast<double>(std::lround(size * 0.3))};
}

bool inDisc(const Shape& shape, double x, double y) {
    const double dx = x - shape.centre;
    const double dy = y - shape.centre;
    return dx * dx + dy * dy <= shape.radius * shape.radius;
}

bool inPlus(const Shape& shape, double x, double y) {
    const double dx = std::fabs(x - shape.centre);
    const double dy = std::fabs(y - shape.centre);
    return (dx <= shape.halfLength && dy <= shape.halfThickness) ||
           (dy <= shape.halfLength && dx <= shape.halfThickness);
}

std::uint8_t mix(std::uint8_t plusPart, std::uint8_t discPart, int plusSamples, int discSamples) {
    const double value =
        (plusPart * static_cast<double>(plusSamples) +
         discPart * static_cast<double>(discSamples - plusSamples)) / discSamples;
    return static_cast<std::uint8_t>(std::lround(value));
}

Rgba shadePixel(const Shape& shape, int px, int py) {
    int discSamples = 0;
    int plusSamples = 0;
    for (int sy = 0; sy < samplesPerAxis; ++sy) {
        for (int sx = 0; sx < samplesPerAxis; ++sx) {
            const double x = px + (sx + 0.5) / samplesPerAxis;
            const double y = py + (sy + 0.5) / samplesPerAxis;
            if (!inDisc(shape, x, y)) continue;
            ++discSamples;
            if (inPlus(shape, x, y)) ++plusSamples;
        }
    }
    if (discSamples == 0) return Rgba{};
    constexpr int allSamples = samplesPerAxis * samplesPerAxis;
    Rgba pixel;
    pixel.red = mix(plusColour.red, discColour.red, plusSamples, discSamples);
    pixel.green = mix(plusColour.green, discColour.green, plusSamples, discSamples);
    pixel.blue = mix(plusColour.blue, discColour.blue, plusSamples, discSamples);
    pixel.alpha = static_cast<std::uint8_t>(std::lround(255.0 * discSamples / allSamples));
    return pixel;
}

}  // namespace

Picture drawPicture(int size) {
    const Shape shape = shapeFor(size);
    Picture picture;
    picture.size = size;
    picture.pixels.reserve(static_cast<std::size_t>(size * size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) picture.pixels.push_back(shadePixel(shape, x, y));
    }
    return picture;
}

}  // namespace orvanta::icon
