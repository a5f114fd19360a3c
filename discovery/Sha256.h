#pragma once
// SHA-256 (FIPS 180-4): the hash Secure Boot's databases hold for files and
// certificates.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvanta {

using Sha256Digest = std::array<std::uint8_t, 32>;

// A hash computed over pieces handed in one after another.
class Sha256 {
public:
    Sha256();
    void update(std::span<const std::uint8_t> bytes);
    Sha256Digest finish(); // the hash of all that was handed in; ends the use of this object

private:
    void compressBlock(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> block_{};
    std::size_t blockUsed_ = 0;
    std::uint64_t totalBytes_ = 0;
};

Sha256Digest Sha256Of(std::span<const std::uint8_t> bytes);

} // namespace orvanta
