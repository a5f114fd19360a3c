#include "win32/window/Twips.h"

namespace orvanta::win32 {

ScreenDpi QueryScreenDpi() {
    ScreenDpi dpi;
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr) return dpi;
    const int x = GetDeviceCaps(screen, LOGPIXELSX);
    const int y = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (x > 0) dpi.x = x;
    if (y > 0) dpi.y = y;
    return dpi;
}

} // namespace orvanta::win32
