#pragma once
// A list of texts on one line: {"C:", "D:"} with "、" gives "C:、D:".
#include <string>
#include <string_view>
#include <vector>

namespace orvanta {

inline std::string JoinedText(const std::vector<std::string>& texts, std::string_view separator) {
    std::string joined;
    for (const std::string& text : texts) {
        if (!joined.empty()) joined += separator;
        joined += text;
    }
    return joined;
}

} // namespace orvanta
