#include "win32/shell/Win32MessageBoxes.h"

#include "win32/base/Utf.h"

namespace orvanta::win32 {

// The core's styles are the icons' own flags.
static_assert(static_cast<UINT>(MessageStyle::Error) == MB_ICONERROR &&
              static_cast<UINT>(MessageStyle::Warning) == MB_ICONWARNING &&
              static_cast<UINT>(MessageStyle::Information) == MB_ICONINFORMATION);

namespace {

int Show(HWND owner, const Message& message, UINT buttons) {
    const HWND usable = owner != nullptr && IsWindow(owner) ? owner : nullptr;
    return MessageBoxW(usable, Widen(message.text).c_str(), Widen(message.title).c_str(),
                       static_cast<UINT>(message.style) | buttons);
}

} // namespace

void Win32MessageBoxes::show(const Message& message) {
    Show(owner_, message, MB_OK);
}

bool Win32MessageBoxes::ask(const Message& message) {
    return Show(owner_, message, MB_YESNO) == IDYES;
}

} // namespace orvanta::win32
