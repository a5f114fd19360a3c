#pragma once
// The records of the storage-property request, laid out byte for byte as the
// device stack expects them (little-endian).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace orvanta {

// STORAGE_PROPERTY_QUERY: PropertyId (4), QueryType (4), AdditionalParameters (1), fill (3).
inline constexpr std::size_t QueryRecordSize = 12;
// The fixed part of STORAGE_DEVICE_DESCRIPTOR, without the texts behind it.
inline constexpr std::size_t AnswerRecordSize = 40;

inline constexpr std::size_t AnswerSizeOffset = 4;
inline constexpr std::size_t AnswerProductIdOffset = 16; // where the product id's offset lies
inline constexpr std::size_t AnswerBusTypeOffset = 28;
// RawDeviceProperties: the first byte that may be text rather than a number.
inline constexpr std::size_t AnswerTextsStart = 36;
// A disk is asked with room for the texts behind the fixed part (vendor,
// product, revision, serial number); what doesn't fit is left out.
inline constexpr std::size_t DescriptorBufferSize = 1024;
// The longest model kept; a longer product id is cut.
inline constexpr std::size_t LongestModel = 40;

// STORAGE_BUS_TYPE values.
inline constexpr std::uint32_t UnknownBusType = 0;
inline constexpr std::uint32_t UsbBusType = 7;

using QueryRecord = std::array<std::uint8_t, QueryRecordSize>;
using AnswerRecord = std::array<std::uint8_t, AnswerRecordSize>;

// The query for the standard device property: 12 zero bytes.
QueryRecord MakeDeviceQuery();

// An answer record of zeros with its Size field set to 40.
AnswerRecord MakeEmptyAnswer();

std::uint32_t BusTypeOf(const AnswerRecord& answer);

// What a disk says of itself: its bus, and its model as the product id gives
// it ("WDC WD10EZEX-08WN4A0"); "" when the answer has none.
struct StorageDescriptor {
    std::uint32_t busType = UnknownBusType;
    std::string model;

    bool operator==(const StorageDescriptor&) const = default;
};

// Reads an answer as much of it as there is: the bus when its four bytes are
// there, the product id from the offset the answer gives, up to its NUL (or
// the first byte that is not printable ASCII, or the end of the bytes),
// without the blanks devices pad it with, cut to LongestModel.
StorageDescriptor ParseStorageDescriptor(std::span<const std::uint8_t> answer);

} // namespace orvanta
