#pragma once
// What the fuzz targets share: the stop when an answer breaks its rule, and
// rules written apart from the code they check.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvanta::fuzz {

// Stops the run when a rule about the answer is broken; libFuzzer keeps the input.
inline void Require(bool rule) {
    if (!rule) __builtin_trap();
}

inline std::string_view AsBytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Well-formed UTF-8 by the definition, decoded code point by code point: the
// shortest form, no surrogate, nothing above U+10FFFF, nothing cut short.
inline bool IsWellFormedUtf8(std::string_view text) {
    static constexpr std::uint32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || at + length > text.size()) return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t index = 1; index < length; ++index) {
            const auto next = static_cast<unsigned char>(text[at + index]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3Fu);
        }
        if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        at += length;
    }
    return true;
}

// A little-endian number read byte by byte from the documented offset.
inline std::uint32_t LittleEndian32At(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 | static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

} // namespace orvanta::fuzz
