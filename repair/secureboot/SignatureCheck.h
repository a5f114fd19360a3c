#pragma once
// What a signed image's signatures say of the file without the firmware:
// whether the hash each vouches for is the file's, whether its signer's
// messageDigest is the hash of what it vouches for, and whether the signer's
// signature and the certificates it carries verify, key by key, through the
// system's cryptography. A file whose every signature fails here is damaged
// or altered: Secure Boot refuses it whatever db holds.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "discovery/signatures/PeImage.h"
#include "discovery/signatures/SignedData.h"
#include "platform/files/Crypto.h"

namespace orvanta {

struct SignatureCheck {
    // The file hash's algorithm; nothing when firmware hashes with no such
    // algorithm: then the signature counts for nothing.
    std::optional<HashAlgorithm> algorithm;
    CryptoCheck digest = CryptoCheck::CouldNotCheck;          // the file's hash is the one it vouches for
    CryptoCheck messageDigest = CryptoCheck::CouldNotCheck;   // the signer's messageDigest is the hash of that
    CryptoCheck signerSignature = CryptoCheck::CouldNotCheck; // over its authenticated attributes
    std::vector<std::size_t> chain;  // the signer's certificate, then its issuers among those carried
    std::vector<CryptoCheck> links;  // links[i]: chain[i] verified with chain[i + 1]'s key

    // Firmware reads it: an entry's own signature with an algorithm it hashes with.
    bool counts(const Signature& signature) const { return signature.depth == 0 && algorithm.has_value(); }
    bool anyInvalid() const;
    bool anyUnchecked() const;
};

// The image's signatures as read, each checked.
struct SignedImage {
    bool hasCertificateTable = false;
    bool certificateTableDamaged = false;
    std::vector<Signature> signatures;   // nested ones included
    std::vector<SignatureCheck> checks;  // one for each signature
    std::map<HashAlgorithm, Digest> digests; // the file's Authenticode hash by algorithm, where taken
    std::size_t unreadEntries = 0;           // signed-data entries in which no signature reads
};

// Whether `issuer` issued `certificate`: by key identifier (the issuer's
// subject key identifier is the certificate's authority key identifier)
// when both have one, else by name (the issuer's subject, encoded, is the
// certificate's issuer). Only a key's check tells whether it really did.
bool IsIssuerOf(const Certificate& issuer, const Certificate& certificate);

// The signer's certificate, then its issuer among the certificates the
// signature carries, and so on up; empty when the signer's certificate isn't
// carried. The root is not in the file.
std::vector<const Certificate*> SignerChain(const Signature& signature);

SignedImage CheckSignedImage(std::span<const std::uint8_t> file, const PeImage& image, Crypto& crypto);

enum class FileIntegrity {
    Unsigned,  // no certificate table: nothing to compare
    Intact,    // a signature firmware reads matches the file and verifies
    Damaged,   // the table is damaged, or every such signature fails: the file doesn't match its signature
    Unchecked, // none failed, but the system could not check them all
};

FileIntegrity IntegrityOf(const SignedImage& image);

} // namespace orvanta
