#pragma once
// The system's cryptography as the Linux tests and host tools have it:
// OpenSSL's libcrypto. Signatures are checked raw, key against bytes, never
// through a certificate store, so no validity period is ever looked at.
#include "platform/files/Crypto.h"

namespace orvanta {

class OpensslCrypto : public Crypto {
public:
    std::optional<Digest> hash(HashAlgorithm algorithm, BytePieces pieces) override;
    CryptoCheck verifySigner(std::span<const std::uint8_t> contentInfo, std::span<const std::uint8_t> signerCertificate) override;
    CryptoCheck verifyCertificate(std::span<const std::uint8_t> certificate, std::span<const std::uint8_t> issuer) override;
};

} // namespace orvanta
