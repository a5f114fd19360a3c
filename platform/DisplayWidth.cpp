#include "platform/DisplayWidth.h"

#include "platform/TextEncodings.h"

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

std::size_t SequenceLength(unsigned char lead) {
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

} // namespace

std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = SequenceLength(lead);
        if (length == 1 || at + length > text.size() || !IsValidUtf8(text.substr(at, length))) {
            ++width;
            ++at;
            continue;
        }
        char32_t code = lead & (0x7F >> length);
        for (std::size_t index = 1; index < length; ++index) {
            code = code << 6 | (static_cast<unsigned char>(text[at + index]) & 0x3F);
        }
        width += IsWide(code) ? 2 : 1;
        at += length;
    }
    return width;
}

} // namespace orvanta
