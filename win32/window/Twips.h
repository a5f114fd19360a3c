#pragma once
// Twips (1440 per inch) to pixels and back, at the screen's real dots per inch.
#include <windows.h>

#include <cstdint>

namespace orvanta::win32 {

struct ScreenDpi {
    int x = 96;
    int y = 96;

    int pixelsX(std::int32_t twips) const { return MulDiv(twips, x, 1440); }
    int pixelsY(std::int32_t twips) const { return MulDiv(twips, y, 1440); }
    float twipsX(int pixels) const { return static_cast<float>(pixels) * 1440.0F / static_cast<float>(x); }
    float twipsY(int pixels) const { return static_cast<float>(pixels) * 1440.0F / static_cast<float>(y); }
};

// The dots per inch of the screen as this program sees it.
ScreenDpi QueryScreenDpi();

} // namespace orvanta::win32
