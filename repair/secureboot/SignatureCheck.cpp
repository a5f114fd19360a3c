#include "repair/secureboot/SignatureCheck.h"

#include <algorithm>

namespace orvanta {
namespace {

bool IsSignedDataEntry(const WinCertificate& entry) {
    return entry.type == PkcsSignedDataCertificateType || entry.type == EfiGuidCertificateType;
}

CryptoCheck Compare(const std::optional<Digest>& computed, const std::vector<std::uint8_t>& expected) {
    if (!computed) return CryptoCheck::CouldNotCheck;
    return *computed == expected ? CryptoCheck::Valid : CryptoCheck::Invalid;
}

// Authenticode requires the messageDigest attribute; without it nothing vouches for the content.
CryptoCheck CheckMessageDigest(const Signature& signature, Crypto& crypto) {
    if (signature.messageDigest.empty()) return CryptoCheck::Invalid;
    const std::optional<HashAlgorithm> algorithm = HashAlgorithmOf(signature.signerDigestAlgorithm);
    if (!algorithm) return CryptoCheck::CouldNotCheck;
    return Compare(HashOf(crypto, *algorithm, signature.indirectContent), signature.messageDigest);
}

SignatureCheck Check(const Signature& signature, const std::map<HashAlgorithm, Digest>& digests, Crypto& crypto) {
    SignatureCheck check;
    check.algorithm = HashAlgorithmOf(signature.digestAlgorithm);
    if (check.algorithm) {
        const auto digest = digests.find(*check.algorithm);
        check.digest = Compare(digest == digests.end() ? std::nullopt : std::optional(digest->second), signature.fileDigest);
    }
    check.messageDigest = CheckMessageDigest(signature, crypto);
    for (const Certificate* certificate : SignerChain(signature)) {
        check.chain.push_back(static_cast<std::size_t>(certificate - signature.certificates.data()));
    }
    // Exactly one signer, whose certificate the signature carries.
    check.signerSignature = CryptoCheck::Invalid;
    if (signature.signerInfos == 1 && !check.chain.empty()) {
        check.signerSignature = crypto.verifySigner(signature.contentInfo, signature.certificates[check.chain[0]].der);
    }
    for (std::size_t index = 0; index + 1 < check.chain.size(); ++index) {
        check.links.push_back(crypto.verifyCertificate(signature.certificates[check.chain[index]].der,
                                                       signature.certificates[check.chain[index + 1]].der));
    }
    return check;
}

} // namespace

bool SignatureCheck::anyInvalid() const {
    const auto invalid = [](CryptoCheck check) { return check == CryptoCheck::Invalid; };
    return invalid(digest) || invalid(messageDigest) || invalid(signerSignature) || std::any_of(links.begin(), links.end(), invalid);
}

bool SignatureCheck::anyUnchecked() const {
    const auto unchecked = [](CryptoCheck check) { return check == CryptoCheck::CouldNotCheck; };
    return unchecked(digest) || unchecked(messageDigest) || unchecked(signerSignature) ||
           std::any_of(links.begin(), links.end(), unchecked);
}

bool IsIssuerOf(const Certificate& issuer, const Certificate& certificate) {
    if (!issuer.subjectKeyId.empty() && !certificate.authorityKeyId.empty()) {
        return issuer.subjectKeyId == certificate.authorityKeyId;
    }
    return issuer.subject.der == certificate.issuer.der;
}

std::vector<const Certificate*> SignerChain(const Signature& signature) {
    std::vector<const Certificate*> chain;
    if (!signature.signer || *signature.signer >= signature.certificates.size()) return chain;
    chain.push_back(&signature.certificates[*signature.signer]);
    while (chain.size() < signature.certificates.size()) {
        const auto issuer = std::find_if(signature.certificates.begin(), signature.certificates.end(), [&](const Certificate& c) {
            return IsIssuerOf(c, *chain.back()) && std::find(chain.begin(), chain.end(), &c) == chain.end();
        });
        if (issuer == signature.certificates.end()) break;
        chain.push_back(&*issuer);
    }
    return chain;
}

SignedImage CheckSignedImage(std::span<const std::uint8_t> file, const PeImage& image, Crypto& crypto) {
    SignedImage checked;
    checked.hasCertificateTable = image.hasCertificateTable;
    checked.certificateTableDamaged = image.certificateTableDamaged;
    checked.signatures = SignaturesOf(image);
    std::vector<HashAlgorithm> algorithms{HashAlgorithm::Sha256};
    for (const Signature& signature : checked.signatures) {
        const std::optional<HashAlgorithm> algorithm = HashAlgorithmOf(signature.digestAlgorithm);
        if (algorithm && std::find(algorithms.begin(), algorithms.end(), *algorithm) == algorithms.end()) algorithms.push_back(*algorithm);
    }
    for (const HashAlgorithm algorithm : algorithms) {
        if (auto digest = AuthenticodeDigest(crypto, algorithm, file, image)) checked.digests.emplace(algorithm, std::move(*digest));
    }
    for (const Signature& signature : checked.signatures) checked.checks.push_back(Check(signature, checked.digests, crypto));
    for (std::size_t entry = 0; entry < image.certificates.size(); ++entry) {
        const bool read = std::any_of(checked.signatures.begin(), checked.signatures.end(),
                                      [&](const Signature& signature) { return signature.entry == entry; });
        if (IsSignedDataEntry(image.certificates[entry]) && !read) ++checked.unreadEntries;
    }
    return checked;
}

FileIntegrity IntegrityOf(const SignedImage& image) {
    if (!image.hasCertificateTable) return FileIntegrity::Unsigned;
    if (image.certificateTableDamaged) return FileIntegrity::Damaged;
    bool intact = false, unchecked = false, failed = image.unreadEntries > 0;
    for (std::size_t index = 0; index < image.signatures.size(); ++index) {
        const SignatureCheck& check = image.checks[index];
        if (!check.counts(image.signatures[index])) continue;
        if (check.anyInvalid()) {
            failed = true;
        } else {
            (check.anyUnchecked() ? unchecked : intact) = true;
        }
    }
    if (intact) return FileIntegrity::Intact;
    if (failed && !unchecked) return FileIntegrity::Damaged;
    return FileIntegrity::Unchecked;
}

} // namespace orvanta
