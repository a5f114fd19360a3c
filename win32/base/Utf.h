#pragma once
// Conversions between the core's UTF-8 texts and the UTF-16 texts of the W functions.
#include <string>

namespace orvanta::win32 {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
std::string Narrow(const wchar_t* utf16, std::size_t length);

} // namespace orvanta::win32
