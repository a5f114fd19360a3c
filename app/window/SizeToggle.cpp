#include "app/window/SizeToggle.h"

#include <cmath>

namespace orvanta {
namespace {

std::int32_t OuterHeightFor(WindowFrame& window, std::int32_t clientHeight) {
    const float frame = window.outerHeight() - window.clientHeight();
    return static_cast<std::int32_t>(std::lround(frame + static_cast<float>(clientHeight)));
}

} // namespace

void SizeToggle::measure(WindowFrame& window) {
    sizes_.compactWidth = FixedOuterWidth;
    sizes_.compactHeight = OuterHeightFor(window, CompactClientHeight);
    sizes_.expandedWidth = FixedOuterWidth;
    sizes_.expandedHeight = OuterHeightFor(window, ExpandedClientHeight);
    lastState_ = window.state();
    window.setOuterHeight(sizes_.compactHeight);
}

void SizeToggle::onResized(WindowFrame& window) {
    const WindowState state = window.state();
    WindowState last = lastState_;
    if (state != WindowState::Maximized) {
        last = state;
    } else if (last != WindowState::Minimized) {
        // The maximize command toggles between the two fixed sizes. The
        // operations below raise nested resize events, which find the normal
        // state; the value written last, here, decides.
        const bool expand = last == WindowState::Normal;
        window.setState(WindowState::Normal);
        window.setOuterWidth(expand ? sizes_.expandedWidth : sizes_.compactWidth);
        window.setOuterHeight(expand ? sizes_.expandedHeight : sizes_.compactHeight);
        last = expand ? WindowState::Maximized : WindowState::Normal;
    }
    // Maximised straight from minimised: the window stays maximised.
    lastState_ = last;
}

} // namespace orvanta
