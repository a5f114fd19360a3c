#include "win32/base/Win32Error.h"

#include <windows.h>

#include "win32/base/Utf.h"

namespace orvanta::win32 {

std::string ErrorDescription(std::uint32_t code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (text == nullptr) return {};
    std::wstring description(text, length);
    LocalFree(text);
    while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r')) {
        description.pop_back();
    }
    return Narrow(description);
}

PlatformError LastError() {
    return LastErrorOf(GetLastError());
}

PlatformError LastErrorOf(std::uint32_t code) {
    return PlatformError(code, ErrorDescription(code));
}

} // namespace orvanta::win32
