#pragma once
// The system's cryptography: hashes, and the checks of signatures that
// Secure Boot's rules need. The core passes DER bytes and gets a yes or a
// no, or that the system could not check (a function or an algorithm it
// lacks); it never computes a hash or a signature itself.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orvanta {

enum class HashAlgorithm { Sha1, Sha256, Sha384, Sha512 };

using Digest = std::vector<std::uint8_t>;
using BytePieces = std::span<const std::span<const std::uint8_t>>;

enum class CryptoCheck {
    Valid,         // the signature verifies with the key
    Invalid,       // it doesn't, or what should hold it doesn't read
    CouldNotCheck, // the system lacks what the check needs
};

class Crypto {
public:
    virtual ~Crypto() = default;

    // The hash of the pieces, one after another; nothing when the system can't hash.
    virtual std::optional<Digest> hash(HashAlgorithm algorithm, BytePieces pieces) = 0;

    // Whether the first signer of a PKCS #7 SignedData (`contentInfo`, a
    // ContentInfo) signed its authenticated attributes with the key of
    // `signerCertificate`. Only that signature: not the content's hash, not
    // the certificate's chain, no time.
    virtual CryptoCheck verifySigner(std::span<const std::uint8_t> contentInfo,
                                     std::span<const std::uint8_t> signerCertificate) = 0;

    // Whether `certificate`'s signature verifies with `issuer`'s public key; no time.
    virtual CryptoCheck verifyCertificate(std::span<const std::uint8_t> certificate,
                                          std::span<const std::uint8_t> issuer) = 0;
};

// The size of a digest of that algorithm.
std::size_t DigestSize(HashAlgorithm algorithm);

// The hash of one piece of bytes.
std::optional<Digest> HashOf(Crypto& crypto, HashAlgorithm algorithm, std::span<const std::uint8_t> bytes);

} // namespace orvanta
