#pragma once
// The Authenticode signatures of an image: PKCS #7 SignedData (RFC 2315)
// whose content is Microsoft's SpcIndirectDataContent (the hash of the file
// the signer vouches for), with the certificates it carries, the SignerInfo
// naming the signer by issuer and serial number and holding the hash of that
// content (messageDigest), and further signatures nested in the signer's
// unauthenticated attribute 1.3.6.1.4.1.311.2.4.1.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/signatures/Certificate.h"
#include "discovery/signatures/PeImage.h"
#include "platform/files/Crypto.h"

namespace orvanta {

// Signatures nested deeper than this are not read.
inline constexpr std::size_t MostSignatureDepth = 4;
inline constexpr std::string_view Sha1AlgorithmId = "1.3.14.3.2.26";
inline constexpr std::string_view Sha256AlgorithmId = "2.16.840.1.101.3.4.2.1";
inline constexpr std::string_view Sha384AlgorithmId = "2.16.840.1.101.3.4.2.2";
inline constexpr std::string_view Sha512AlgorithmId = "2.16.840.1.101.3.4.2.3";

struct Signature {
    std::size_t entry = 0;                 // the certificate-table entry it came from
    std::size_t depth = 0;                 // 0: the entry's own signature; 1: nested in it; ...
    std::vector<std::uint8_t> contentInfo; // the whole signature as read: what the signer's signature is checked on
    std::vector<Certificate> certificates; // those it carries that read, in order
    std::optional<std::size_t> signer;     // which of them signed
    std::size_t signerInfos = 0;           // Authenticode has exactly one
    std::string digestAlgorithm;           // the first of the SignedData's: the file hash's algorithm, as an object identifier
    std::vector<std::uint8_t> fileDigest;  // the file hash the signature vouches for
    // The SpcIndirectDataContent without its tag and length: what messageDigest is the hash of.
    std::vector<std::uint8_t> indirectContent;
    std::string signerDigestAlgorithm;       // the SignerInfo's: the algorithm of messageDigest
    std::vector<std::uint8_t> messageDigest; // the signer's authenticated attribute; empty without it
};

// The signatures of one ContentInfo: the outer one, then those nested in it,
// depth first. None when it is no SignedData.
std::vector<Signature> ReadSignatures(std::span<const std::uint8_t> contentInfo);

// The signatures of every PKCS signed-data entry of the image's certificate
// table (WIN_CERT_TYPE_PKCS_SIGNED_DATA, or WIN_CERT_TYPE_EFI_GUID holding
// EFI_CERT_TYPE_PKCS7_GUID), each marked with its entry.
std::vector<Signature> SignaturesOf(const PeImage& image);

// SHA-1, SHA-256, SHA-384 or SHA-512 by object identifier; nothing for another.
std::optional<HashAlgorithm> HashAlgorithmOf(std::string_view objectId);

} // namespace orvanta
