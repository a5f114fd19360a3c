#include "repair/BootManagerTrust.h"

#include <algorithm>

namespace orvanta {
namespace {

void AddOnce(std::vector<std::string>& names, const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

// The database certificate that is `certificate` or issued it.
const Certificate* ListedFor(const Certificate& certificate, const SecureBootDatabase& database) {
    for (const Certificate& listed : database.certificates) {
        if (listed.der == certificate.der || IsIssuerOf(listed, certificate)) return &listed;
    }
    return nullptr;
}

SignatureVerdict Judge(const Signature& signature, const SecureBootDatabase& db, const SecureBootDatabase& dbx) {
    SignatureVerdict verdict;
    const std::vector<const Certificate*> chain = SignerChain(signature);
    if (!chain.empty()) {
        verdict.signer = chain.front()->subject.text;
        verdict.ca = chain.front()->issuer.text;
    }
    for (const Certificate* certificate : chain) {
        if (const Certificate* allowed = ListedFor(*certificate, db)) AddOnce(verdict.allowedBy, allowed->subject.text);
    }
    for (const Certificate& certificate : signature.certificates) {
        if (const Certificate* forbidden = ListedFor(certificate, dbx)) AddOnce(verdict.forbiddenBy, forbidden->subject.text);
        const auto& hashes = dbx.certificateHashes;
        if (std::find(hashes.begin(), hashes.end(), certificate.tbsSha256) != hashes.end()) {
            AddOnce(verdict.forbiddenBy, certificate.subject.text);
        }
    }
    return verdict;
}

bool Contains(const std::vector<Sha256Digest>& hashes, const Sha256Digest& hash) {
    return std::find(hashes.begin(), hashes.end(), hash) != hashes.end();
}

} // namespace

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

bool IsIssuerOf(const Certificate& issuer, const Certificate& certificate) {
    if (!issuer.subjectKeyId.empty() && !certificate.authorityKeyId.empty()) {
        return issuer.subjectKeyId == certificate.authorityKeyId;
    }
    return issuer.subject.der == certificate.issuer.der;
}

TrustVerdict JudgeBootManagerTrust(const std::vector<Signature>& signatures, const Sha256Digest& imageHash,
                                   const SecureBootDatabase& db, const SecureBootDatabase& dbx) {
    TrustVerdict verdict;
    for (const Certificate& certificate : db.certificates) AddOnce(verdict.allowedCas, certificate.subject.text);
    verdict.fileHashInDb = Contains(db.fileHashes, imageHash);
    bool allowed = verdict.fileHashInDb, forbidden = false;
    for (const Signature& signature : signatures) {
        verdict.signatures.push_back(Judge(signature, db, dbx));
        allowed = allowed || !verdict.signatures.back().allowedBy.empty();
        forbidden = forbidden || !verdict.signatures.back().forbiddenBy.empty();
    }
    if (!allowed) verdict.refusals.push_back(TrustRefusal::NotAllowedByDb);
    if (forbidden) verdict.refusals.push_back(TrustRefusal::CertificateInDbx);
    if (Contains(dbx.fileHashes, imageHash)) verdict.refusals.push_back(TrustRefusal::FileHashInDbx);
    return verdict;
}

} // namespace orvanta
