#include "win32/window/Fonts.h"

namespace orvanta::win32 {
namespace {

constexpr int PointSize = 9;

HFONT CreateRegularFont(const wchar_t* face, BYTE charSet, const ScreenDpi& dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(PointSize, dpi.y, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = charSet;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

} // namespace

WindowFonts::WindowFonts(const ScreenDpi& dpi)
    : yaHeiChinese_(CreateRegularFont(L"微软雅黑", GB2312_CHARSET, dpi)),
      yaHeiDefault_(CreateRegularFont(L"微软雅黑", ANSI_CHARSET, dpi)),
      verdana_(CreateRegularFont(L"Verdana", ANSI_CHARSET, dpi)) {}

HFONT WindowFonts::get(FontKind kind) const {
    switch (kind) {
    case FontKind::YaHeiChinese:
        return yaHeiChinese_.get();
    case FontKind::YaHeiDefault:
        return yaHeiDefault_.get();
    case FontKind::Verdana:
        return verdana_.get();
    case FontKind::SystemDefault:
        break;
    }
    return nullptr;
}

} // namespace orvanta::win32
