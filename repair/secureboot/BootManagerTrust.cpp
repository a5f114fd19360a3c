#include "repair/secureboot/BootManagerTrust.h"

#include <algorithm>

namespace orvanta {
namespace {

void AddOnce(std::vector<std::string>& names, const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

void AddOnce(std::vector<TrustRefusal>& refusals, TrustRefusal refusal) {
    if (std::find(refusals.begin(), refusals.end(), refusal) == refusals.end()) refusals.push_back(refusal);
}

// One entry's signature, with the firmware's databases and the system's keys.
class EntryJudge {
public:
    EntryJudge(const Signature& signature, const SignatureCheck& check, Crypto& crypto, bool& unchecked)
        : signature_(signature), check_(check), crypto_(crypto), unchecked_(unchecked) {}

    // The signature itself holds: the file's hash, messageDigest and the signer's signature.
    bool authentic() const { return note(check_.digest) && note(check_.messageDigest) && note(check_.signerSignature); }

    // Whether the chain verifies up to `anchor`: a certificate of it is the
    // anchor, or the anchor's key verifies it, each link below verified too.
    bool verifiesUpTo(const Certificate& anchor) const {
        for (std::size_t level = 0; level < check_.chain.size(); ++level) {
            const Certificate& certificate = signature_.certificates[check_.chain[level]];
            if (certificate.der == anchor.der) return true;
            if (IsIssuerOf(anchor, certificate) && note(crypto_.verifyCertificate(certificate.der, anchor.der))) return true;
            if (level >= check_.links.size() || !note(check_.links[level])) return false;
        }
        return false;
    }

    // Whether dbx holds the certificate's hash, with any algorithm it lists.
    bool hashRevoked(const Certificate& certificate, const SecureBootDatabase& dbx) const {
        for (const HashEntry& entry : dbx.certificateHashes) {
            const std::optional<Digest> hash = HashOf(crypto_, entry.algorithm, certificate.toBeSigned());
            if (!hash) unchecked_ = true;
            if (hash == entry.digest) return true;
        }
        return false;
    }

    const Certificate* signerCertificate() const {
        return check_.chain.empty() ? nullptr : &signature_.certificates[check_.chain.front()];
    }

private:
    // A check the system couldn't do doesn't refuse; the verdict says so.
    bool note(CryptoCheck result) const {
        if (result == CryptoCheck::CouldNotCheck) unchecked_ = true;
        return result != CryptoCheck::Invalid;
    }

    const Signature& signature_;
    const SignatureCheck& check_;
    Crypto& crypto_;
    bool& unchecked_;
};

struct Findings {
    bool allowed = false;
    bool forbidden = false;    // by a certificate
    bool hashForbidden = false;
    bool anchorRevoked = false;
    bool digestFailed = false;
    bool signatureFailed = false;
};

SignatureVerdict JudgeEntry(const SignedImage& image, std::size_t index, const SecureBootDatabase& db,
                            const SecureBootDatabase& dbx, Crypto& crypto, Findings& findings, TrustVerdict& verdict) {
    const Signature& signature = image.signatures[index];
    const SignatureCheck& check = image.checks[index];
    SignatureVerdict judged;
    const std::vector<const Certificate*> chain = SignerChain(signature);
    if (!chain.empty()) {
        judged.signer = chain.front()->subject.text;
        judged.ca = chain.front()->issuer.text;
    }
    judged.counted = check.counts(signature);
    if (!judged.counted) return judged;
    const EntryJudge entry(signature, check, crypto, verdict.unchecked);
    const bool authentic = entry.authentic();
    findings.digestFailed |= check.digest == CryptoCheck::Invalid || check.messageDigest == CryptoCheck::Invalid;
    findings.signatureFailed |= check.anyInvalid();
    for (const Certificate& forbidden : dbx.certificates) {
        if (authentic && entry.verifiesUpTo(forbidden)) AddOnce(judged.forbiddenBy, forbidden.subject.text);
    }
    const Certificate* signer = entry.signerCertificate();
    if (signer != nullptr && entry.hashRevoked(*signer, dbx)) AddOnce(judged.forbiddenBy, signer->subject.text);
    findings.forbidden |= !judged.forbiddenBy.empty();
    // The first db certificate the signature verifies up to decides; one whose hash dbx holds allows nothing.
    for (const Certificate& allowed : db.certificates) {
        if (findings.allowed || !authentic || !entry.verifiesUpTo(allowed)) continue;
        if (entry.hashRevoked(allowed, dbx)) {
            findings.anchorRevoked = true;
            AddOnce(judged.forbiddenBy, allowed.subject.text);
        } else {
            AddOnce(judged.allowedBy, allowed.subject.text);
            findings.allowed = true;
        }
        break;
    }
    const auto digest = image.digests.find(*check.algorithm);
    if (digest != image.digests.end()) {
        findings.hashForbidden |= HoldsHash(dbx.fileHashes, *check.algorithm, digest->second);
        if (!findings.allowed && HoldsHash(db.fileHashes, *check.algorithm, digest->second)) {
            findings.allowed = verdict.fileHashInDb = true;
        }
    }
    return judged;
}

// Why a file no rule refused is still not allowed: what went wrong first.
TrustRefusal NotAllowedReason(const Findings& findings) {
    if (findings.digestFailed) return TrustRefusal::DigestMismatch;
    if (findings.signatureFailed) return TrustRefusal::SignatureInvalid;
    if (findings.anchorRevoked) return TrustRefusal::CertificateInDbx;
    return TrustRefusal::NotAllowedByDb;
}

// An image without a certificate table: its SHA-256 must be in db and not in dbx.
void JudgeUnsigned(const SignedImage& image, const SecureBootDatabase& db, const SecureBootDatabase& dbx, TrustVerdict& verdict) {
    const auto digest = image.digests.find(HashAlgorithm::Sha256);
    if (digest == image.digests.end()) {
        verdict.unchecked = true;
        return;
    }
    verdict.fileHashInDb = HoldsHash(db.fileHashes, HashAlgorithm::Sha256, digest->second);
    if (HoldsHash(dbx.fileHashes, HashAlgorithm::Sha256, digest->second)) verdict.refusals.push_back(TrustRefusal::FileHashInDbx);
    if (!verdict.fileHashInDb && verdict.refusals.empty()) verdict.refusals.push_back(TrustRefusal::NotAllowedByDb);
}

} // namespace

TrustVerdict JudgeBootManagerTrust(const SignedImage& image, const SecureBootDatabase& db, const SecureBootDatabase& dbx,
                                   Crypto& crypto) {
    TrustVerdict verdict;
    for (const Certificate& certificate : db.certificates) AddOnce(verdict.allowedCas, certificate.subject.text);
    if (!image.hasCertificateTable) {
        JudgeUnsigned(image, db, dbx, verdict);
        return verdict;
    }
    Findings findings;
    for (std::size_t index = 0; index < image.signatures.size(); ++index) {
        verdict.signatures.push_back(JudgeEntry(image, index, db, dbx, crypto, findings, verdict));
    }
    if (image.certificateTableDamaged) AddOnce(verdict.refusals, TrustRefusal::MalformedCertificateTable);
    if (findings.forbidden) AddOnce(verdict.refusals, TrustRefusal::CertificateInDbx);
    if (findings.hashForbidden) AddOnce(verdict.refusals, TrustRefusal::FileHashInDbx);
    if (!findings.allowed && verdict.refusals.empty()) verdict.refusals.push_back(NotAllowedReason(findings));
    return verdict;
}

} // namespace orvanta
