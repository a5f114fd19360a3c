#include "discovery/Guid.h"

#include <algorithm>

namespace orvanta {

Guid GuidAt(std::span<const std::uint8_t> bytes) {
    Guid guid{};
    std::copy_n(bytes.begin(), guid.size(), guid.begin());
    return guid;
}

std::string GuidText(const Guid& guid) {
    // Data1, Data2 and Data3 are stored least significant byte first; Data4 as it reads.
    constexpr std::array<std::size_t, 16> TextOrder{3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
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

} // namespace orvanta
