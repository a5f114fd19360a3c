// DecodeToolOutput and LastLines on what a tool might write. The first byte
// picks the console's code page; the rest is the output. Rules: the text is
// always well-formed UTF-8; well-formed UTF-8 without a control byte or a
// byte-order mark, which no code page here claims, comes out unchanged; the
// last lines are trimmed, non-empty, single lines of the text.
#include <cstdint>
#include <optional>
#include <string>

#include "fakes/FakeServices.h"
#include "fuzz/FuzzRules.h"
#include "repair/tools/ToolOutput.h"

namespace orvanta {
namespace {

// A double-byte code page shaped like GBK: ASCII alone, a lead byte 81-FE
// with a trail byte 40-FE (not 7F) for an ideograph; anything else invalid.
class DoubleByteCodePage : public ConsoleCodePage {
public:
    std::optional<std::string> toUtf8(std::string_view bytes) override {
        std::string text;
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            const auto lead = static_cast<unsigned char>(bytes[at]);
            if (lead < 0x80) {
                text += static_cast<char>(lead);
                continue;
            }
            if (lead == 0x80 || lead == 0xFF || at + 1 == bytes.size()) return std::nullopt;
            const auto trail = static_cast<unsigned char>(bytes[++at]);
            if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return std::nullopt;
            const unsigned code = 0x4E00 + ((lead - 0x81u) * 191 + (trail - 0x40u)) % 0x5200;
            text += static_cast<char>(0xE0 | code >> 12);
            text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
        return text;
    }
};

class NoCodePage : public ConsoleCodePage {
public:
    std::optional<std::string> toUtf8(std::string_view) override { return std::nullopt; }
};

bool HoldsControlByte(std::string_view bytes) {
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value < 0x20 && value != '\t' && value != '\n' && value != '\r') return true;
    }
    return false;
}

void CheckLastLines(const std::string& text) {
    for (const std::string& line : LastLines(text, 4)) {
        fuzz::Require(!line.empty() && line.find_first_of("\r\n") == std::string::npos);
        fuzz::Require(line.front() != ' ' && line.front() != '\t' && line.back() != ' ' && line.back() != '\t');
        fuzz::Require(text.find(line) != std::string::npos);
    }
}

} // namespace
} // namespace orvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    if (size == 0) return 0;
    const std::string_view bytes = fuzz::AsBytes(data + 1, size - 1);
    NoCodePage none;
    FakeConsoleCodePage asciiOnly;
    DoubleByteCodePage doubleByte;
    ConsoleCodePage* const codePages[] = {&none, &asciiOnly, &doubleByte};
    const std::size_t choice = data[0] % 3;

    const std::string text = DecodeToolOutput(bytes, *codePages[choice]);
    fuzz::Require(fuzz::IsWellFormedUtf8(text));
    const bool plainUtf8 = fuzz::IsWellFormedUtf8(bytes) && !HoldsControlByte(bytes) && !bytes.starts_with("\xEF\xBB\xBF");
    if (choice != 2 && plainUtf8) fuzz::Require(text == bytes);
    CheckLastLines(text);
    return 0;
}
