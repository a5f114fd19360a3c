#include "repair/ToolOutput.h"

#include <cstdint>

#include "discovery/TextDecoding.h"

namespace orvanta {
namespace {

bool IsPlainlyUtf16(std::string_view bytes) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0) return false;
    bool highZero = false;
    for (std::size_t at = 0; at < bytes.size(); at += 2) {
        if (bytes[at] == '\0') return false; // text in any 8-bit encoding has no zero byte at all
        highZero = highZero || bytes[at + 1] == '\0';
    }
    return highZero;
}

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

std::string_view Trimmed(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::string DecodeToolOutput(std::string_view bytes, ConsoleCodePage& codePage) {
    if (StartsWith(bytes, "\xFF\xFE")) return Utf16ToUtf8(bytes.substr(2), false);
    if (StartsWith(bytes, "\xFE\xFF")) return Utf16ToUtf8(bytes.substr(2), true);
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return Utf8WithReplacements(bytes.substr(3));
    if (IsPlainlyUtf16(bytes)) return Utf16ToUtf8(bytes, false);
    if (auto text = codePage.toUtf8(bytes)) return *text;
    return Utf8WithReplacements(bytes);
}

std::vector<std::string> LastLines(std::string_view text, std::size_t count) {
    std::vector<std::string> lines;
    std::size_t end = text.size();
    while (lines.size() < count && end > 0) {
        const std::size_t start = text.rfind('\n', end - 1);
        const std::size_t from = start == std::string_view::npos ? 0 : start + 1;
        const std::string_view line = Trimmed(text.substr(from, end - from));
        if (!line.empty()) lines.insert(lines.begin(), std::string(line));
        end = start == std::string_view::npos ? 0 : start;
    }
    return lines;
}

} // namespace orvanta
