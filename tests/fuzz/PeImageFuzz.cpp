// An image as a boot partition might hold it: the hash covers only bytes
// within the file and is the SHA-256 of exactly the ranges it names; each
// certificate-table entry is the file's own bytes; the signatures read from
// them name a signer among their own certificates, no deeper than the limit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "discovery/PeImage.h"
#include "discovery/SignedData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    const std::span<const std::uint8_t> file(data, size);
    const auto image = ReadPeImage(file);
    if (!image) return 0;
    Sha256 hash;
    for (const ByteRange& range : image->hashedRanges) {
        if (range.offset > size || range.length > size - range.offset) __builtin_trap();
        hash.update(file.subspan(range.offset, range.length));
    }
    if (hash.finish() != image->authenticodeSha256) __builtin_trap();
    for (const WinCertificate& entry : image->certificates) {
        if (entry.offset > size || entry.content.size() + WinCertificateHeaderSize > size - entry.offset) __builtin_trap();
        if (!std::equal(entry.content.begin(), entry.content.end(), data + entry.offset + WinCertificateHeaderSize)) __builtin_trap();
    }
    for (const Signature& signature : SignaturesOf(*image)) {
        if (signature.depth > MostSignatureDepth) __builtin_trap();
        if (signature.signer && *signature.signer >= signature.certificates.size()) __builtin_trap();
    }
    return 0;
}
