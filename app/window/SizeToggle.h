#pragma once
// The maximize command as a toggle between two fixed window sizes: compact,
// with the working controls, and expanded, with the about panel below them.
#include <cstdint>

#include "app/window/MainControls.h"

namespace orvanta {

// Client heights of the two sizes and the fixed outer width, in twips.
inline constexpr std::int32_t CompactClientHeight = 2250;
inline constexpr std::int32_t ExpandedClientHeight = 4620;
inline constexpr std::int32_t FixedOuterWidth = 5910;

struct WindowSizes {
    std::int32_t compactWidth = 0;
    std::int32_t compactHeight = 0;
    std::int32_t expandedWidth = 0;
    std::int32_t expandedHeight = 0;
};

class SizeToggle {
public:
    // At load: works out both outer sizes from the window's frame and gives
    // the window the compact height. Its width stays until the first toggle.
    void measure(WindowFrame& window);

    // After every change of the window's size or state.
    void onResized(WindowFrame& window);

    const WindowSizes& sizes() const { return sizes_; }
    // The state last seen; Maximized means the toggle last expanded the window.
    WindowState lastState() const { return lastState_; }

private:
    WindowSizes sizes_;
    WindowState lastState_ = WindowState::Normal;
};

} // namespace orvanta
