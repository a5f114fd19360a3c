#pragma once
// Reading DER (ASN.1's distinguished encoding, X.690), as far as certificates
// and signatures need: one identifier byte, a definite length, the content.
// Multi-byte tags and indefinite lengths are refused, and every length must
// lie within what holds it. The readers built on this descend by fixed paths;
// only nested signatures recurse, with a depth limit of their own.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orvanta {

inline constexpr std::uint8_t DerBooleanTag = 0x01;
inline constexpr std::uint8_t DerIntegerTag = 0x02;
inline constexpr std::uint8_t DerBitStringTag = 0x03;
inline constexpr std::uint8_t DerOctetStringTag = 0x04;
inline constexpr std::uint8_t DerObjectIdTag = 0x06;
inline constexpr std::uint8_t DerSequenceTag = 0x30;
inline constexpr std::uint8_t DerSetTag = 0x31;

// [n] of a context-specific tag, constructed (EXPLICIT, or IMPLICIT of a
// constructed type) or primitive.
constexpr std::uint8_t DerContextTag(std::uint8_t number, bool constructed) {
    return static_cast<std::uint8_t>(0x80U | (constructed ? 0x20U : 0U) | number);
}

struct DerElement {
    std::uint8_t tag = 0;
    std::span<const std::uint8_t> whole;   // identifier, length and content
    std::span<const std::uint8_t> content;
};

// The element at the start of `bytes`; nothing when it isn't one.
std::optional<DerElement> ReadDerElement(std::span<const std::uint8_t> bytes);

// The elements that follow one another in a content, taken in order.
class DerReader {
public:
    explicit DerReader(std::span<const std::uint8_t> content) : rest_(content) {}
    // The next element; nothing at the end or when what follows doesn't
    // read (then the reader stays, short of its end).
    std::optional<DerElement> next();
    // The next element when it has this tag; otherwise nothing, and the reader stays.
    std::optional<DerElement> next(std::uint8_t tag);
    // Whether every element was taken.
    bool atEnd() const { return rest_.empty(); }

private:
    std::span<const std::uint8_t> rest_;
};

// "2.5.29.14"; "" when the content is no well-formed object identifier.
std::string ObjectIdText(std::span<const std::uint8_t> content);

} // namespace orvanta
