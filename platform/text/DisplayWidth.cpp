#include "platform/text/DisplayWidth.h"

#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

// The East Asian Wide and Fullwidth blocks a console draws two columns wide,
// and the dash, quotation marks and ellipsis a Chinese console draws so too.
bool IsWide(char32_t code) {
    struct Range {
        char32_t first, last;
    };
    static constexpr Range Wide[] = {
        {0x2014, 0x2014},   // —
        {0x2018, 0x2019},   // ‘’
        {0x201C, 0x201D},   // “”
        {0x2026, 0x2026},   // …
        {0x1100, 0x115F},   // Hangul initial consonants
        {0x2E80, 0x303E},   // CJK radicals, ideographic description, CJK symbols and punctuation
        {0x3041, 0x33FF},   // kana, bopomofo, CJK compatibility
        {0x3400, 0x4DBF},   // CJK extension A
        {0x4E00, 0x9FFF},   // CJK unified ideographs
        {0xA000, 0xA4CF},   // Yi
        {0xAC00, 0xD7A3},   // Hangul syllables
        {0xF900, 0xFAFF},   // CJK compatibility ideographs
        {0xFE30, 0xFE4F},   // CJK compatibility forms
        {0xFF00, 0xFF60},   // full-width forms (：，（）！)
        {0xFFE0, 0xFFE6},   // full-width signs
        {0x20000, 0x3FFFD}, // CJK extensions B and later
    };
    for (const Range& range : Wide) {
        if (code >= range.first && code <= range.last) return true;
    }
    return false;
}

} // namespace

std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    for (const char32_t code : Utf8CodePoints(text)) width += IsWide(code) ? 2 : 1;
    return width;
}

} // namespace orvanta
