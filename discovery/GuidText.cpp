#include "discovery/GuidText.h"

#include <array>

namespace orvanta {
namespace {

// Where each byte's two digits stand in "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}":
// Data1, Data2 and Data3 are little-endian, the last eight bytes in order.
constexpr std::array<std::size_t, 16> DigitPlaces{7, 5, 3, 1, 12, 10, 17, 15, 20, 22, 25, 27, 29, 31, 33, 35};
constexpr std::size_t GuidTextLength = 38;

int DigitValue(char digit) {
    if (digit >= '0' && digit <= '9') return digit - '0';
    if (digit >= 'a' && digit <= 'f') return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F') return digit - 'A' + 10;
    return -1;
}

} // namespace

std::string GuidText(const GuidBytes& guid) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text = "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}";
    for (std::size_t index = 0; index < guid.size(); ++index) {
        text[DigitPlaces[index]] = Digits[guid[index] >> 4U];
        text[DigitPlaces[index] + 1] = Digits[guid[index] & 0xFU];
    }
    return text;
}

std::optional<GuidBytes> ParseGuidText(std::string_view text) {
    if (text.size() != GuidTextLength || text.front() != '{' || text.back() != '}') return std::nullopt;
    for (const std::size_t dash : {9, 14, 19, 24}) {
        if (text[dash] != '-') return std::nullopt;
    }
    GuidBytes guid{};
    for (std::size_t index = 0; index < guid.size(); ++index) {
        const int high = DigitValue(text[DigitPlaces[index]]);
        const int low = DigitValue(text[DigitPlaces[index] + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        guid[index] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return guid;
}

} // namespace orvanta
