#pragma once
// Whether Secure Boot will refuse a boot manager, by the rules of UEFI's
// reference firmware (EDK2's image verification): every entry of the
// certificate table is visited; an entry's own signature counts, never one
// nested in it; an entry forbidden by dbx (a certificate its signature
// verifies up to, its signer's certificate by hash, or the file's hash with
// the entry's algorithm) refuses the file, whatever another allows; the file
// is allowed when an entry's signature verifies up to a db certificate, or
// its hash is in db. A damaged table refuses it. Without a table, its SHA-256
// decides. No certificate's validity period counts. Finding no reason to
// refuse is not trust: Microsoft's revocation also uses the boot manager's
// security version number (SVN), which is not read here.
#include <string>
#include <vector>

#include "discovery/firmware/SecureBootDatabase.h"
#include "platform/files/Crypto.h"
#include "repair/secureboot/SignatureCheck.h"

namespace orvanta {

enum class TrustRefusal {
    NotAllowedByDb,            // no signature verifies up to a db certificate, and the image's hash isn't in db
    CertificateInDbx,          // a signature verifies up to a dbx certificate, or its signer's (or db anchor's) hash is in dbx
    FileHashInDbx,             // the image's hash is in dbx
    DigestMismatch,            // no signature's hash is the file's: it is damaged or altered
    SignatureInvalid,          // the signatures' own signatures don't verify
    MalformedCertificateTable, // the certificate table is damaged
};

struct SignatureVerdict {
    std::string signer;                   // the signer's subject; "" when its certificate isn't carried
    std::string ca;                       // the CA that issued the signer's certificate
    std::vector<std::string> allowedBy;   // the db certificate it verifies up to
    std::vector<std::string> forbiddenBy; // the dbx certificates (or hashed ones) that forbid it
    bool counted = true;                  // false: nested, or an algorithm firmware doesn't hash with

    bool operator==(const SignatureVerdict&) const = default;
};

struct TrustVerdict {
    std::vector<TrustRefusal> refusals;       // empty: no known reason to refuse
    std::vector<SignatureVerdict> signatures; // in the order of the signatures
    std::vector<std::string> allowedCas;      // the subjects of db's certificates
    bool fileHashInDb = false;
    bool unchecked = false;                   // a check the decision used could not be done by the system

    bool refused() const { return !refusals.empty(); }
};

TrustVerdict JudgeBootManagerTrust(const SignedImage& image, const SecureBootDatabase& db, const SecureBootDatabase& dbx,
                                   Crypto& crypto);

} // namespace orvanta
