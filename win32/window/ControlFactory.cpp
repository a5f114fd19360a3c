#include "win32/window/ControlFactory.h"

#include <commctrl.h>

#include "win32/window/Win32Controls.h"

namespace orvanta::win32 {
namespace {

// Room for the open list of a drop-down combo box, in entries.
constexpr int VisibleListEntries = 8;

// A drop-down list sizes its closed field from its font; the item height of
// the field (-1) is set so that the closed control has the layout's height.
void FitClosedHeight(HWND combo, int height) {
    RECT closed{};
    GetWindowRect(combo, &closed);
    const LRESULT field = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    const LRESULT wanted = field + height - (closed.bottom - closed.top);
    if (field > 0 && wanted > 0 && wanted != field) {
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), wanted);
    }
}

} // namespace

HWND CreateLayoutControl(HWND parent, const ControlSpec& spec, const ScreenDpi& dpi,
                         const WindowFonts& fonts) {
    const bool isCombo = spec.id == IdInstallationList;
    const int height = dpi.pixelsY(spec.height);
    const int createHeight = isCombo ? height * (VisibleListEntries + 1) : height;
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    const HWND control = CreateWindowExW(
        spec.extendedStyle, spec.windowClass, spec.text, spec.style, dpi.pixelsX(spec.left),
        dpi.pixelsY(spec.top), dpi.pixelsX(spec.width), createHeight, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance, nullptr);
    if (control == nullptr) return nullptr;
    const HFONT font = fonts.get(spec.font);
    if (font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (spec.sizing == Sizing::ToText) FitLabelToText(control);
    if (isCombo) FitClosedHeight(control, height);
    return control;
}

void AddToolTip(HWND owner, HWND control, const wchar_t* text) {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    const HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                                     nullptr, instance, nullptr);
    if (tip == nullptr) return;
    TOOLINFOW tool{};
    // The size that every version of the common controls accepts.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace orvanta::win32
