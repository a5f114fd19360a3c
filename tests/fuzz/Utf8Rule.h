#pragma once
// Whether a text is valid UTF-8, checked here on its own terms rather than
// with the decoders under test: each sequence is decoded to its code point,
// which must need exactly that many bytes, lie outside the surrogates and
// not exceed U+10FFFF.
#include <cstddef>
#include <string_view>

namespace orvanta::fuzz {

inline bool IsValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead >> 5 == 0x6 ? 2 : lead >> 4 == 0xE ? 3 : lead >> 3 == 0x1E ? 4 : 0;
        if (length == 0 || length > text.size() - at) return false;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t next = 1; next < length; ++next) {
            const auto byte = static_cast<unsigned char>(text[at + next]);
            if (byte >> 6 != 0x2) return false;
            code = code << 6 | (byte & 0x3F);
        }
        constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        at += length;
    }
    return true;
}

} // namespace orvanta::fuzz
