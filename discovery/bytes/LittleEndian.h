#pragma once
// Reading and writing the little-endian numbers of the device records.
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvanta {

inline std::uint64_t ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t index = width; index-- > 0;) value = value << 8U | bytes[offset + index];
    return value;
}

inline std::uint16_t ReadLittleEndian16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(ReadLittleEndian(bytes, offset, 2));
}

inline std::uint32_t ReadLittleEndian32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(ReadLittleEndian(bytes, offset, 4));
}

inline void WriteLittleEndian32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t index = 0; index < 4; ++index) {
        bytes[offset + index] = static_cast<std::uint8_t>(value >> (8U * index));
    }
}

} // namespace orvanta
