// An image as a boot partition might hold it: the hash covers only bytes
// within the file, in order, and is the hash of exactly the ranges it names;
// each certificate-table entry is the file's own bytes, and the entries tile
// the table unless it is marked damaged; the signatures read from them name
// a signer among their own certificates, no deeper than the limit, and their
// checks never claim an intact file whose signatures all fail.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "crypto/OpensslCrypto.h"
#include "discovery/signatures/PeImage.h"
#include "discovery/signatures/SignedData.h"
#include "repair/secureboot/SignatureCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    const std::span<const std::uint8_t> file(data, size);
    const auto image = ReadPeImage(file);
    if (!image) return 0;
    std::vector<std::uint8_t> hashed;
    for (const ByteRange& range : image->hashedRanges) {
        if (range.offset > size || range.length > size - range.offset) __builtin_trap();
        hashed.insert(hashed.end(), data + range.offset, data + range.offset + range.length);
    }
    OpensslCrypto crypto;
    if (AuthenticodeDigest(crypto, HashAlgorithm::Sha256, file, *image) != HashOf(crypto, HashAlgorithm::Sha256, hashed)) __builtin_trap();
    std::size_t tiled = image->certificates.empty() ? 0 : image->certificates.front().offset;
    for (const WinCertificate& entry : image->certificates) {
        if (entry.offset > size || entry.content.size() + WinCertificateHeaderSize > size - entry.offset) __builtin_trap();
        if (!std::equal(entry.content.begin(), entry.content.end(), data + entry.offset + WinCertificateHeaderSize)) __builtin_trap();
        if (entry.offset != tiled) __builtin_trap();
        tiled += (entry.content.size() + WinCertificateHeaderSize + 7) / 8 * 8;
    }
    for (const Signature& signature : SignaturesOf(*image)) {
        if (signature.depth > MostSignatureDepth) __builtin_trap();
        if (signature.signer && *signature.signer >= signature.certificates.size()) __builtin_trap();
    }
    const SignedImage checked = CheckSignedImage(file, *image, crypto);
    bool anyIntact = false;
    for (std::size_t index = 0; index < checked.signatures.size(); ++index) {
        anyIntact |= checked.checks[index].counts(checked.signatures[index]) && !checked.checks[index].anyInvalid();
    }
    if (IntegrityOf(checked) == FileIntegrity::Intact && (!anyIntact || image->certificateTableDamaged)) __builtin_trap();
    return 0;
}
