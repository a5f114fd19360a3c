#include "win32/text/Win32ConsoleCodePage.h"

#include <windows.h>

#include "win32/base/Utf.h"

namespace orvanta::win32 {

std::optional<std::string> Win32ConsoleCodePage::toUtf8(std::string_view bytes) {
    if (bytes.empty()) return std::string();
    const int size = static_cast<int>(bytes.size());
    const UINT codePage = GetOEMCP();
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt; // not valid in that code page
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length);
    return Narrow(text);
}

} // namespace orvanta::win32
