#pragma once
// Whether Secure Boot will refuse a boot manager, judged from the image's
// signatures and Authenticode hash against the firmware's allowed (db) and
// forbidden (dbx) databases. Finding no reason to refuse is not trust:
// Microsoft's revocation also uses the boot manager's security version
// number (SVN), which is not read here.
#include <string>
#include <vector>

#include "discovery/Certificate.h"
#include "discovery/SecureBootDatabase.h"
#include "discovery/Sha256.h"
#include "discovery/SignedData.h"

namespace orvanta {

enum class TrustRefusal {
    NotAllowedByDb,   // no signature chains to a db certificate, and the image's hash isn't in db
    CertificateInDbx, // a certificate of a signature, or its issuer, is in dbx (itself or its hash)
    FileHashInDbx,    // the image's hash is in dbx
};

struct SignatureVerdict {
    std::string signer;                   // the signer's subject; "" when its certificate isn't carried
    std::string ca;                       // the CA that issued the signer's certificate
    std::vector<std::string> allowedBy;   // the db certificates it chains to
    std::vector<std::string> forbiddenBy; // its certificates, or their issuers, found in dbx

    bool operator==(const SignatureVerdict&) const = default;
};

struct TrustVerdict {
    std::vector<TrustRefusal> refusals;       // empty: no known reason to refuse
    std::vector<SignatureVerdict> signatures; // in the order of the signatures
    std::vector<std::string> allowedCas;      // the subjects of db's certificates
    bool fileHashInDb = false;
};

// A db certificate counts for a signature when it is a certificate of the
// signature's chain (from the signer up through the certificates it
// carries) or the issuer of one.
TrustVerdict JudgeBootManagerTrust(const std::vector<Signature>& signatures, const Sha256Digest& imageHash,
                                   const SecureBootDatabase& db, const SecureBootDatabase& dbx);

// The signer's certificate, then its issuer among the certificates the
// signature carries, and so on up; empty when the signer's certificate isn't
// carried. The root is not in the file.
std::vector<const Certificate*> SignerChain(const Signature& signature);

// Whether `issuer` issued `certificate`: by key identifier (the issuer's
// subject key identifier is the certificate's authority key identifier)
// when both have one, else by name (the issuer's subject, encoded, is the
// certificate's issuer).
bool IsIssuerOf(const Certificate& issuer, const Certificate& certificate);

} // namespace orvanta
