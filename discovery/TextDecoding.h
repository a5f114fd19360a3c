#pragma once
// Turning the texts of outside bytes (UTF-16 of either byte order, UTF-8 that
// may be broken) into the core's UTF-8. Never fails: what can't be decoded
// becomes U+FFFD.
#include <string>
#include <string_view>

namespace orvanta {

inline constexpr char32_t ReplacementCharacter = 0xFFFD;

// Appends one code point, encoded as UTF-8.
void AppendUtf8(std::string& text, char32_t code);

// UTF-16 code units, two bytes each; a lone surrogate or an odd last byte
// becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);

// The bytes as they are where they are valid UTF-8, U+FFFD for each byte
// that isn't.
std::string Utf8WithReplacements(std::string_view bytes);

} // namespace orvanta
