#pragma once
// The Authenticode signatures of an image: PKCS #7 SignedData (RFC 2315)
// whose content is Microsoft's SpcIndirectDataContent (the hash of the file
// the signer vouches for), with the certificates it carries, the SignerInfo
// naming the signer by issuer and serial number, and further signatures
// nested in the signer's unauthenticated attribute 1.3.6.1.4.1.311.2.4.1.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/Certificate.h"
#include "discovery/PeImage.h"

namespace orvanta {

// Signatures nested deeper than this are not read.
inline constexpr std::size_t MostSignatureDepth = 4;
inline constexpr std::string_view Sha256AlgorithmId = "2.16.840.1.101.3.4.2.1";

struct Signature {
    std::size_t depth = 0;                 // 0: a signature of the file itself; 1: nested in one; ...
    std::vector<Certificate> certificates; // those it carries that read, in order
    std::optional<std::size_t> signer;     // which of them signed
    std::string digestAlgorithm;           // the file hash's algorithm, as an object identifier
    std::vector<std::uint8_t> fileDigest;  // the file hash the signature vouches for
};

// The signatures of one ContentInfo: the outer one, then those nested in it,
// depth first. None when it is no SignedData.
std::vector<Signature> ReadSignatures(std::span<const std::uint8_t> contentInfo);

// The signatures of every PKCS signed-data entry of the image's certificate table.
std::vector<Signature> SignaturesOf(const PeImage& image);

} // namespace orvanta
