#pragma once
// Creates the controls of the layout table on the main window.
#include <windows.h>

#include "win32/window/MainLayout.h"

namespace orvanta::win32 {

// Creates one control at its place, converted to pixels, with its font; labels
// that follow their text are sized to it.
HWND CreateLayoutControl(HWND parent, const ControlSpec& spec, const ScreenDpi& dpi,
                         const WindowFonts& fonts);

// Gives a tool tip to a control of `owner`.
void AddToolTip(HWND owner, HWND control, const wchar_t* text);

} // namespace orvanta::win32
