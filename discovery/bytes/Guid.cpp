#include "discovery/bytes/Guid.h"

#include <algorithm>

namespace orvanta {

Guid GuidAt(std::span<const std::uint8_t> bytes) {
    Guid guid{};
    std::copy_n(bytes.begin(), guid.size(), guid.begin());
    return guid;
}

namespace {

// Data1, Data2 and Data3 are stored least significant byte first; Data4 as it reads.
constexpr std::array<std::size_t, 16> TextOrder{3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};

int DigitValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

} // namespace

std::string GuidText(const Guid& guid) {
    constexpr char Digits[] = "0123456789abcdef";
    std::string text = "{";
    for (std::size_t index = 0; index < TextOrder.size(); ++index) {
        if (index == 4 || index == 6 || index == 8 || index == 10) text += '-';
        const std::uint8_t byte = guid[TextOrder[index]];
        text += Digits[byte >> 4U];
        text += Digits[byte & 0x0FU];
    }
    return text + "}";
}

std::optional<Guid> ParseGuidText(std::string_view text) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
    Guid guid{};
    std::size_t at = 1;
    for (std::size_t index = 0; index < TextOrder.size(); ++index) {
        if ((index == 4 || index == 6 || index == 8 || index == 10) && text[at++] != '-') return std::nullopt;
        const int high = DigitValue(text[at]);
        const int low = DigitValue(text[at + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        guid[TextOrder[index]] = static_cast<std::uint8_t>(high << 4 | low);
        at += 2;
    }
    return guid;
}

} // namespace orvanta
