#pragma once
// What a Secure Boot database (db, the allowed; dbx, the forbidden) holds,
// read from its signature lists: certificates, hashes of files, hashes of
// certificates, and entries of other kinds counted by kind.
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "discovery/Certificate.h"
#include "discovery/Sha256.h"

namespace orvanta {

struct SignatureCount {
    std::string type; // SignatureTypeName
    std::size_t count = 0;

    bool operator==(const SignatureCount&) const = default;
};

struct SecureBootDatabase {
    std::vector<Certificate> certificates;       // X.509 entries
    std::vector<Sha256Digest> fileHashes;        // SHA-256 entries: Authenticode hashes of images
    std::vector<Sha256Digest> certificateHashes; // X.509 SHA-256 entries: hashes of TBSCertificates
    std::vector<SignatureCount> others;          // entries of other kinds, by kind in the order first met
    std::size_t unreadableEntries = 0;           // certificates that don't read, hashes of the wrong size
    bool damaged = false;                        // a list's sizes lie: it and what follows are missing
};

SecureBootDatabase ReadSecureBootDatabase(std::span<const std::uint8_t> variable);

} // namespace orvanta
