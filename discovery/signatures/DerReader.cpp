#include "discovery/signatures/DerReader.h"

namespace orvanta {
namespace {

// Four length bytes reach 4 GB, more than any input read here.
constexpr std::size_t MostLengthBytes = 4;
// Eight 7-bit groups fit in 64 bits; longer arcs are no certificate's.
constexpr std::size_t MostArcGroups = 8;

} // namespace

std::optional<DerElement> ReadDerElement(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2 || (bytes[0] & 0x1FU) == 0x1FU) return std::nullopt;
    std::size_t at = 2;
    std::size_t length = bytes[1];
    if ((length & 0x80U) != 0) {
        const std::size_t count = length & 0x7FU;
        if (count == 0 || count > MostLengthBytes || count > bytes.size() - at) return std::nullopt;
        length = 0;
        for (std::size_t index = 0; index < count; ++index) length = length << 8U | bytes[at++];
    }
    if (length > bytes.size() - at) return std::nullopt;
    return DerElement{bytes[0], bytes.first(at + length), bytes.subspan(at, length)};
}

std::optional<DerElement> DerReader::next() {
    auto element = ReadDerElement(rest_);
    if (element) rest_ = rest_.subspan(element->whole.size());
    return element;
}

std::optional<DerElement> DerReader::next(std::uint8_t tag) {
    auto element = ReadDerElement(rest_);
    if (!element || element->tag != tag) return std::nullopt;
    rest_ = rest_.subspan(element->whole.size());
    return element;
}

std::string ObjectIdText(std::span<const std::uint8_t> content) {
    std::string text;
    std::uint64_t arc = 0;
    std::size_t groups = 0;
    for (const std::uint8_t byte : content) {
        if (groups == 0 && byte == 0x80) return {}; // a padded arc
        if (++groups > MostArcGroups) return {};
        arc = arc << 7U | (byte & 0x7FU);
        if ((byte & 0x80U) != 0) continue;
        if (text.empty()) {
            const std::uint64_t first = arc < 80 ? arc / 40 : 2;
            text = std::to_string(first) + "." + std::to_string(arc - 40 * first);
        } else {
            text += "." + std::to_string(arc);
        }
        arc = 0;
        groups = 0;
    }
    return groups == 0 ? text : std::string{};
}

} // namespace orvanta
