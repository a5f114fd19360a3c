#include "platform/files/Crypto.h"

namespace orvanta {

std::size_t DigestSize(HashAlgorithm algorithm) {
    switch (algorithm) {
    case HashAlgorithm::Sha1: return 20;
    case HashAlgorithm::Sha256: return 32;
    case HashAlgorithm::Sha384: return 48;
    case HashAlgorithm::Sha512: return 64;
    }
    return 0;
}

std::optional<Digest> HashOf(Crypto& crypto, HashAlgorithm algorithm, std::span<const std::uint8_t> bytes) {
    const std::span<const std::uint8_t> pieces[] = {bytes};
    return crypto.hash(algorithm, pieces);
}

} // namespace orvanta
