#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

struct Utf8Prefix {
    std::size_t wanted = 0; // the sequence's length by its first byte; 0 for a byte no sequence starts with
    std::size_t fitting = 0; // how many bytes from the first on fit a well-formed sequence
};

// The range the second byte must lie in after a first byte (the Unicode
// standard's table of well-formed UTF-8), which shuts out overlong forms,
// surrogates and values above U+10FFFF; later bytes are all 80-BF.
struct SecondByteRange {
    unsigned char low = 0x80, high = 0xBF;
};

SecondByteRange SecondByteAfter(unsigned char lead) {
    switch (lead) {
    case 0xE0: return {0xA0, 0xBF};
    case 0xED: return {0x80, 0x9F};
    case 0xF0: return {0x90, 0xBF};
    case 0xF4: return {0x80, 0x8F};
    default: return {};
    }
}

std::size_t LengthByLead(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0; // a continuation byte, C0, C1 (only overlong forms), F5-FF (beyond U+10FFFF)
}

Utf8Prefix PrefixAt(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    Utf8Prefix prefix{LengthByLead(lead), 0};
    if (prefix.wanted == 0) return prefix;
    prefix.fitting = 1;
    const SecondByteRange second = SecondByteAfter(lead);
    while (prefix.fitting < prefix.wanted && at + prefix.fitting < bytes.size()) {
        const auto next = static_cast<unsigned char>(bytes[at + prefix.fitting]);
        const bool fits = prefix.fitting == 1 ? next >= second.low && next <= second.high : (next & 0xC0) == 0x80;
        if (!fits) break;
        ++prefix.fitting;
    }
    return prefix;
}

// The length of the well-formed sequence at `at`, or 0 when none starts there.
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t at) {
    const Utf8Prefix prefix = PrefixAt(bytes, at);
    return prefix.wanted != 0 && prefix.fitting == prefix.wanted ? prefix.wanted : 0;
}

} // namespace

void AppendUtf8(std::string& text, char32_t code) {
    if ((code >= 0xD800 && code < 0xE000) || code > 0x10FFFF) code = ReplacementCharacter;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8SequenceAt(bytes, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

std::string Utf8WithReplacements(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const Utf8Prefix prefix = PrefixAt(bytes, at);
        if (prefix.wanted != 0 && prefix.fitting == prefix.wanted) {
            text.append(bytes.substr(at, prefix.wanted));
        } else {
            AppendUtf8(text, ReplacementCharacter);
        }
        at += prefix.fitting == 0 ? 1 : prefix.fitting;
    }
    return text;
}

std::u32string Utf8CodePoints(std::string_view bytes) {
    std::u32string codes;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8SequenceAt(bytes, at);
        if (length == 0) {
            codes += ReplacementCharacter;
            ++at;
            continue;
        }
        const auto lead = static_cast<unsigned char>(bytes[at]);
        char32_t code = length == 1 ? lead : lead & (0x7FU >> length);
        for (std::size_t index = 1; index < length; ++index) {
            code = code << 6U | (static_cast<unsigned char>(bytes[at + index]) & 0x3FU);
        }
        codes += code;
        at += length;
    }
    return codes;
}

std::string Utf8ToUtf16LittleEndian(std::string_view text) {
    std::string units;
    const auto append = [&](char32_t unit) {
        units += static_cast<char>(unit & 0xFFU);
        units += static_cast<char>(unit >> 8U);
    };
    for (char32_t code : Utf8CodePoints(text)) {
        if (code < 0x10000) {
            append(code);
            continue;
        }
        code -= 0x10000;
        append(0xD800 + (code >> 10U));
        append(0xDC00 + (code & 0x3FFU));
    }
    return units;
}

char16_t Utf16UnitAt(std::string_view bytes, std::size_t at, ByteOrder order) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return order == ByteOrder::BigEndian ? static_cast<char16_t>(first << 8 | second)
                                         : static_cast<char16_t>(second << 8 | first);
}

std::string Utf16ToUtf8(std::string_view bytes, ByteOrder order) {
    std::string text;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        char32_t code = Utf16UnitAt(bytes, at, order);
        const bool high = code >= 0xD800 && code < 0xDC00;
        if (high && at + 3 < bytes.size()) {
            const char16_t low = Utf16UnitAt(bytes, at + 2, order);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        AppendUtf8(text, code); // a surrogate still alone becomes U+FFFD
    }
    if (bytes.size() % 2 != 0) AppendUtf8(text, ReplacementCharacter);
    return text;
}

std::string UpperHexDigits(std::uint32_t value, unsigned digits) {
    constexpr char Digits[] = "0123456789ABCDEF";
    std::string text(digits, '0');
    for (unsigned index = digits; index-- > 0; value >>= 4U) text[index] = Digits[value & 0x0FU];
    return text;
}

std::string HexText(std::span<const std::uint8_t> bytes) {
    constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : bytes) {
        text += Digits[byte >> 4U];
        text += Digits[byte & 0x0FU];
    }
    return text;
}

} // namespace orvanta
