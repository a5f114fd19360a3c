#pragma once
// The fonts of the window's controls, alive as long as the window.
#include "win32/base/ScopedHandles.h"
#include "win32/window/Twips.h"

namespace orvanta::win32 {

enum class FontKind {
    SystemDefault, // left as the control's own
    YaHeiChinese,  // "微软雅黑" 9 pt, character set GB2312 (134)
    YaHeiDefault,  // "微软雅黑" 9 pt, character set 0
    Verdana,       // "Verdana" 9 pt, character set 0
};

class WindowFonts {
public:
    explicit WindowFonts(const ScreenDpi& dpi);
    // nullptr for SystemDefault.
    HFONT get(FontKind kind) const;

private:
    FontHandle yaHeiChinese_;
    FontHandle yaHeiDefault_;
    FontHandle verdana_;
};

} // namespace orvanta::win32
