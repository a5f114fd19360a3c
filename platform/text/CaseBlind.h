#pragma once
// Comparing Windows names (paths, registry keys), which ignore the case of
// ASCII letters.
#include <cstddef>
#include <string_view>

namespace orvanta {

inline char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline bool SameIgnoringCase(std::string_view first, std::string_view second) {
    if (first.size() != second.size()) return false;
    for (std::size_t index = 0; index < first.size(); ++index) {
        if (AsciiUpper(first[index]) != AsciiUpper(second[index])) return false;
    }
    return true;
}

} // namespace orvanta
