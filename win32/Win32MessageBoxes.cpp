#include "win32/Win32MessageBoxes.h"

#include "win32/Utf.h"

namespace orvanta::win32 {

void Win32MessageBoxes::show(const std::string& text, const std::string& title, int style) {
    const HWND owner = owner_ != nullptr && IsWindow(owner_) ? owner_ : nullptr;
    MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), static_cast<UINT>(style) | MB_OK);
}

} // namespace orvanta::win32
