#pragma once
// What a Secure Boot database (db, the allowed; dbx, the forbidden) holds,
// read from its signature lists: certificates, hashes of files, hashes of
// certificates, and entries of other kinds counted by kind.
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "discovery/signatures/Certificate.h"
#include "platform/files/Crypto.h"

namespace orvanta {

struct SignatureCount {
    std::string type; // SignatureTypeName
    std::size_t count = 0;

    bool operator==(const SignatureCount&) const = default;
};

// A hash a database holds, with the algorithm its list names.
struct HashEntry {
    HashAlgorithm algorithm = HashAlgorithm::Sha256;
    Digest digest;

    bool operator==(const HashEntry&) const = default;
};

struct SecureBootDatabase {
    std::vector<Certificate> certificates;     // X.509 entries
    std::vector<HashEntry> fileHashes;         // SHA-1, -256, -384, -512 entries: Authenticode hashes of images
    std::vector<HashEntry> certificateHashes;  // X.509 SHA-256, -384, -512 entries: hashes of TBSCertificates
    std::vector<SignatureCount> others;        // entries of other kinds, by kind in the order first met
    std::size_t unreadableEntries = 0;         // certificates that don't read, hashes of the wrong size
    bool damaged = false;                      // a list's sizes lie: it and what follows are missing
};

SecureBootDatabase ReadSecureBootDatabase(std::span<const std::uint8_t> variable);

// Whether the hashes hold this digest of this algorithm.
bool HoldsHash(const std::vector<HashEntry>& hashes, HashAlgorithm algorithm, const Digest& digest);

} // namespace orvanta
