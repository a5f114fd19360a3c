#pragma once
// The records of the storage-property request, laid out byte for byte as the
// device stack expects them (little-endian).
#include <array>
#include <cstddef>
#include <cstdint>

namespace orvanta {

// STORAGE_PROPERTY_QUERY: PropertyId (4), QueryType (4), AdditionalParameters (1), fill (3).
inline constexpr std::size_t QueryRecordSize = 12;
// The fixed part of STORAGE_DEVICE_DESCRIPTOR, without the texts behind it.
inline constexpr std::size_t AnswerRecordSize = 40;

inline constexpr std::size_t AnswerSizeOffset = 4;
inline constexpr std::size_t AnswerBusTypeOffset = 28;

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

} // namespace orvanta
