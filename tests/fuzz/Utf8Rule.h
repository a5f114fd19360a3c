#pragma once
// Whether a text is valid UTF-8 (RFC 3629: shortest forms only, no
// surrogates, nothing above U+10FFFF), checked here on its own rather than
// with the decoders under test.
#include <cstddef>
#include <string_view>

namespace orvanta::fuzz {

inline bool IsValidUtf8(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = 1;
        unsigned char low = 0x80, high = 0xBF; // the allowed range of the second byte
        if (lead < 0x80) {
            ++at;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (at + length > text.size()) return false;
        const auto second = static_cast<unsigned char>(text[at + 1]);
        if (second < low || second > high) return false;
        for (std::size_t next = 2; next < length; ++next) {
            if ((static_cast<unsigned char>(text[at + next]) & 0xC0) != 0x80) return false;
        }
        at += length;
    }
    return true;
}

} // namespace orvanta::fuzz
