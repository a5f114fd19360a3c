#include "win32/Win32MessageBoxes.h"

#include "win32/Utf.h"

namespace orvanta::win32 {

void Win32MessageBoxes::show(const Message& message) {
    const HWND owner = owner_ != nullptr && IsWindow(owner_) ? owner_ : nullptr;
    MessageBoxW(owner, Widen(message.text).c_str(), Widen(message.title).c_str(),
                static_cast<UINT>(message.style) | MB_OK);
}

} // namespace orvanta::win32
