#include "discovery/Sha256.h"

#include <algorithm>
#include <bit>

namespace orvanta {
namespace {

constexpr std::array<std::uint32_t, 64> RoundConstants{
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::array<std::uint32_t, 8> InitialState{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                    0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

std::uint32_t BigEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24U | static_cast<std::uint32_t>(bytes[1]) << 16U |
           static_cast<std::uint32_t>(bytes[2]) << 8U | bytes[3];
}

} // namespace

Sha256::Sha256() : state_(InitialState) {}

void Sha256::compressBlock(const std::uint8_t* block) {
    std::array<std::uint32_t, 64> words{};
    for (std::size_t index = 0; index < 16; ++index) words[index] = BigEndian32(block + 4 * index);
    for (std::size_t index = 16; index < 64; ++index) {
        const std::uint32_t w15 = words[index - 15], w2 = words[index - 2];
        const std::uint32_t s0 = std::rotr(w15, 7) ^ std::rotr(w15, 18) ^ (w15 >> 3U);
        const std::uint32_t s1 = std::rotr(w2, 17) ^ std::rotr(w2, 19) ^ (w2 >> 10U);
        words[index] = words[index - 16] + s0 + words[index - 7] + s1;
    }
    auto [a, b, c, d, e, f, g, h] = state_;
    for (std::size_t index = 0; index < 64; ++index) {
        const std::uint32_t sum1 = std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25);
        const std::uint32_t choice = (e & f) ^ (~e & g);
        const std::uint32_t first = h + sum1 + choice + RoundConstants[index] + words[index];
        const std::uint32_t sum0 = std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22);
        const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        h = g;
        g = f;
        f = e;
        e = d + first;
        d = c;
        c = b;
        b = a;
        a = first + sum0 + majority;
    }
    const std::array<std::uint32_t, 8> rounds{a, b, c, d, e, f, g, h};
    for (std::size_t index = 0; index < 8; ++index) state_[index] += rounds[index];
}

void Sha256::update(std::span<const std::uint8_t> bytes) {
    totalBytes_ += bytes.size();
    while (!bytes.empty()) {
        const std::size_t taken = std::min(bytes.size(), block_.size() - blockUsed_);
        std::copy_n(bytes.begin(), taken, block_.begin() + static_cast<std::ptrdiff_t>(blockUsed_));
        blockUsed_ += taken;
        bytes = bytes.subspan(taken);
        if (blockUsed_ == block_.size()) {
            compressBlock(block_.data());
            blockUsed_ = 0;
        }
    }
}

Sha256Digest Sha256::finish() {
    const std::uint64_t totalBits = totalBytes_ * 8U;
    // A one bit, zeros up to 8 bytes before a block's end, the length in bits.
    const std::array<std::uint8_t, 1> mark{0x80};
    update(mark);
    const std::array<std::uint8_t, 1> zero{0};
    while (blockUsed_ != 56) update(zero);
    std::array<std::uint8_t, 8> length{};
    for (std::size_t index = 0; index < 8; ++index) length[index] = static_cast<std::uint8_t>(totalBits >> (56U - 8U * index));
    update(length);
    Sha256Digest digest{};
    for (std::size_t index = 0; index < 32; ++index) {
        digest[index] = static_cast<std::uint8_t>(state_[index / 4] >> (24U - 8U * (index % 4)));
    }
    return digest;
}

Sha256Digest Sha256Of(std::span<const std::uint8_t> bytes) {
    Sha256 hash;
    hash.update(bytes);
    return hash.finish();
}

} // namespace orvanta
