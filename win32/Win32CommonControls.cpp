#include "win32/Win32CommonControls.h"

#include <windows.h>
#include <commctrl.h>

namespace orvanta::win32 {

void Win32CommonControls::initialize() {
    InitCommonControls();
}

} // namespace orvanta::win32
