#include "discovery/signatures/CertificateName.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "discovery/signatures/DerReader.h"
#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint8_t Utf8StringTag = 0x0C;
constexpr std::uint8_t PrintableStringTag = 0x13;
constexpr std::uint8_t TeletexStringTag = 0x14;
constexpr std::uint8_t Ia5StringTag = 0x16;
constexpr std::uint8_t VisibleStringTag = 0x1A;
constexpr std::uint8_t UniversalStringTag = 0x1C;
constexpr std::uint8_t BmpStringTag = 0x1E;

std::string AttributeName(const std::string& objectId) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> Names{{
        {"2.5.4.3", "CN"}, {"2.5.4.5", "SERIALNUMBER"}, {"2.5.4.6", "C"}, {"2.5.4.7", "L"}, {"2.5.4.8", "ST"},
        {"2.5.4.10", "O"}, {"2.5.4.11", "OU"}, {"1.2.840.113549.1.9.1", "E"}, {"0.9.2342.19200300.100.1.25", "DC"},
    }};
    for (const auto& [id, name] : Names) {
        if (id == objectId) return std::string(name);
    }
    return objectId.empty() ? "?" : objectId;
}

std::string_view AsChars(Bytes bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string ValueText(const DerElement& value) {
    switch (value.tag) {
    case Utf8StringTag:
        return Utf8WithReplacements(AsChars(value.content));
    case BmpStringTag:
        return Utf16ToUtf8(AsChars(value.content), ByteOrder::BigEndian);
    case UniversalStringTag: {
        std::string text;
        for (std::size_t at = 0; at + 3 < value.content.size(); at += 4) {
            const char32_t code = static_cast<char32_t>(value.content[at]) << 24U | static_cast<char32_t>(value.content[at + 1]) << 16U |
                                  static_cast<char32_t>(value.content[at + 2]) << 8U | value.content[at + 3];
            AppendUtf8(text, code); // a surrogate or a value past U+10FFFF becomes U+FFFD
        }
        return text;
    }
    case PrintableStringTag:
    case TeletexStringTag:
    case Ia5StringTag:
    case VisibleStringTag: {
        std::string text; // ASCII, and any byte above it taken as Latin-1
        for (const std::uint8_t byte : value.content) AppendUtf8(text, byte);
        return text;
    }
    default:
        return "#" + HexText(value.whole);
    }
}

// "CN=Name" or "OU=a + OU=b" for one SET of attributes; nothing when it doesn't read.
std::optional<std::string> PartText(Bytes set) {
    std::string text;
    DerReader attributes(set);
    while (auto attribute = attributes.next()) {
        DerReader fields(attribute->content);
        const auto type = fields.next(DerObjectIdTag);
        const auto value = fields.next();
        if (attribute->tag != DerSequenceTag || !type || !value) return std::nullopt;
        const std::string attributeText = AttributeName(ObjectIdText(type->content)) + "=" + ValueText(*value);
        text = text.empty() ? attributeText : attributeText + " + " + text;
    }
    if (!attributes.atEnd()) return std::nullopt;
    return text;
}

} // namespace

std::string NameText(Bytes name) {
    const auto sequence = ReadDerElement(name);
    if (!sequence || sequence->tag != DerSequenceTag) return {};
    std::string text;
    DerReader parts(sequence->content);
    while (auto part = parts.next()) {
        auto partText = part->tag == DerSetTag ? PartText(part->content) : std::nullopt;
        if (!partText) return {};
        text = text.empty() ? *partText : *partText + ", " + text;
    }
    return parts.atEnd() ? text : std::string{};
}

} // namespace orvanta
