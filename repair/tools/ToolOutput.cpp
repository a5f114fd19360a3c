#include "repair/tools/ToolOutput.h"

#include <optional>

#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

struct UnitRange {
    char16_t first, last;
};

// What text a tool writes is made of: TAB, CR, LF and printable ASCII; Latin,
// Greek and Cyrillic letters; the dashes, quotes, bullet and ellipsis of
// Chinese and Western text; box drawing and shapes (progress bars); CJK
// punctuation, kana and the unified ideographs; Hangul; full-width forms.
// Narrow on purpose: ASCII text read as UTF-16 pairs its letters into
// ideographs, but its spaces, dots, commas and line ends into units outside.
constexpr UnitRange TextUnits[] = {
    {0x09, 0x0A},     {0x0D, 0x0D},     {0x20, 0x7E},     {0xA0, 0x24F},    {0x370, 0x4FF},   {0x2010, 0x2026},
    {0x2030, 0x2030}, {0x2032, 0x2033}, {0x203B, 0x203B}, {0x2500, 0x25FF}, {0x3000, 0x30FF}, {0x4E00, 0x9FFF},
    {0xAC00, 0xD7A3}, {0xFF01, 0xFFEF}};

bool IsTextUnit(char16_t unit) {
    for (const UnitRange& range : TextUnits) {
        if (unit >= range.first && unit <= range.last) return true;
    }
    return false;
}

// A byte that 8-bit console text doesn't hold: the C0 controls but TAB, LF and CR.
bool IsControlByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value < 0x20 && value != '\t' && value != '\n' && value != '\r';
}

// Whether bytes without a byte-order mark are UTF-16LE rather than 8-bit text,
// weighed over the whole output. Read as UTF-16 they must be text throughout
// (even in length, every unit one that tools write, surrogates in pairs); and
// the 8-bit reading must be worse: valid neither in the console's code page
// nor as UTF-8, or with control bytes (zero bytes above all) in more than one
// unit and in at least one unit in eight. UTF-16 has a zero byte in every
// Latin character and line end, and in characters such as 一 (U+4E00); 8-bit
// text with a stray zero byte has one in a whole line.
bool IsUtf16Text(std::string_view bytes, bool validAs8Bit) {
    if (bytes.empty() || bytes.size() % 2 != 0) return false;
    std::size_t units = 0;
    std::size_t unitsWithControlBytes = 0;
    for (std::size_t at = 0; at < bytes.size(); at += 2, ++units) {
        const char16_t unit = Utf16UnitAt(bytes, at, ByteOrder::LittleEndian);
        if (unit >= 0xD800 && unit < 0xDC00 && at + 3 < bytes.size()) {
            const char16_t low = Utf16UnitAt(bytes, at + 2, ByteOrder::LittleEndian);
            if (low < 0xDC00 || low >= 0xE000) return false;
            at += 2; // a pair: a character beyond the first plane
        } else if (!IsTextUnit(unit)) {
            return false;
        }
        if (IsControlByte(bytes[at]) || IsControlByte(bytes[at + 1])) ++unitsWithControlBytes;
    }
    return !validAs8Bit || (unitsWithControlBytes > 1 && unitsWithControlBytes * 8 >= units);
}

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

std::string_view Trimmed(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::string DecodeToolOutput(std::string_view bytes, ConsoleCodePage& codePage) {
    if (StartsWith(bytes, "\xFF\xFE")) return Utf16ToUtf8(bytes.substr(2), ByteOrder::LittleEndian);
    if (StartsWith(bytes, "\xFE\xFF")) return Utf16ToUtf8(bytes.substr(2), ByteOrder::BigEndian);
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return Utf8WithReplacements(bytes.substr(3));
    const std::optional<std::string> inCodePage = codePage.toUtf8(bytes);
    if (IsUtf16Text(bytes, inCodePage || IsValidUtf8(bytes))) return Utf16ToUtf8(bytes, ByteOrder::LittleEndian);
    // What the code page gives is checked too: nothing invalid passes on.
    return Utf8WithReplacements(inCodePage ? *inCodePage : bytes);
}

std::vector<std::string> LastLines(std::string_view text, std::size_t count) {
    std::vector<std::string> lines;
    std::size_t end = text.size();
    while (lines.size() < count && end > 0) {
        // A carriage return alone ends a line too: progress lines overwrite each other so.
        const std::size_t start = text.find_last_of("\r\n", end - 1);
        const std::size_t from = start == std::string_view::npos ? 0 : start + 1;
        const std::string_view line = Trimmed(text.substr(from, end - from));
        if (!line.empty()) lines.insert(lines.begin(), std::string(line));
        end = start == std::string_view::npos ? 0 : start;
    }
    return lines;
}

} // namespace orvanta
