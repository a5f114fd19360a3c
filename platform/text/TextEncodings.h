#pragma once
// UTF-8 and UTF-16 as the system and its programs hand them over, turned into
// the UTF-8 the core works in. Total over any bytes: what is not well-formed
// becomes U+FFFD, one for each maximal ill-formed part (the Unicode
// standard's recommended practice), so nothing invalid passes on.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orvanta {

enum class ByteOrder { LittleEndian, BigEndian };

// Appends the code point's UTF-8 form; surrogates and values above U+10FFFF
// as U+FFFD.
void AppendUtf8(std::string& text, char32_t code);

// Well-formed UTF-8 throughout: no overlong form, no surrogate (ED A0-BF), no
// value above U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::string_view bytes);

// The bytes with each maximal ill-formed part replaced by U+FFFD.
std::string Utf8WithReplacements(std::string_view bytes);

// The code points of UTF-8 text; a byte that starts no well-formed sequence
// gives one U+FFFD.
std::u32string Utf8CodePoints(std::string_view bytes);

// UTF-16 code units as UTF-8; an unpaired surrogate and an odd last byte
// become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, ByteOrder order);

// UTF-8 text as little-endian UTF-16 code units, without a zero at the end;
// what is not well-formed becomes U+FFFD.
std::string Utf8ToUtf16LittleEndian(std::string_view text);

// The code unit at `at` (which must leave two bytes) in that byte order.
char16_t Utf16UnitAt(std::string_view bytes, std::size_t at, ByteOrder order);

// The value's last `digits` upper-case hexadecimal digits: (0x1A, 4) gives "001A".
std::string UpperHexDigits(std::uint32_t value, unsigned digits);

// Two lower-case hexadecimal digits per byte: "0a1b".
std::string HexText(std::span<const std::uint8_t> bytes);

} // namespace orvanta
