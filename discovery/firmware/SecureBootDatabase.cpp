#include "discovery/firmware/SecureBootDatabase.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "discovery/firmware/SignatureList.h"

namespace orvanta {
namespace {

// An EFI_CERT_X509_SHA* entry: the hash, then the time of revocation (EFI_TIME, 16 bytes).
constexpr std::size_t RevocationTimeSize = 16;

struct HashKind {
    HashAlgorithm algorithm;
    bool ofCertificate;
};

std::optional<HashKind> HashKindOf(SignatureKind kind) {
    switch (kind) {
    case SignatureKind::Sha1Hash: return HashKind{HashAlgorithm::Sha1, false};
    case SignatureKind::Sha256Hash: return HashKind{HashAlgorithm::Sha256, false};
    case SignatureKind::Sha384Hash: return HashKind{HashAlgorithm::Sha384, false};
    case SignatureKind::Sha512Hash: return HashKind{HashAlgorithm::Sha512, false};
    case SignatureKind::X509Sha256Hash: return HashKind{HashAlgorithm::Sha256, true};
    case SignatureKind::X509Sha384Hash: return HashKind{HashAlgorithm::Sha384, true};
    case SignatureKind::X509Sha512Hash: return HashKind{HashAlgorithm::Sha512, true};
    case SignatureKind::X509Certificate:
    case SignatureKind::Other: break;
    }
    return std::nullopt;
}

bool AddHash(SecureBootDatabase& database, HashKind kind, const std::vector<std::uint8_t>& data) {
    const std::size_t size = DigestSize(kind.algorithm);
    if (data.size() != size + (kind.ofCertificate ? RevocationTimeSize : 0)) return false;
    auto& hashes = kind.ofCertificate ? database.certificateHashes : database.fileHashes;
    hashes.push_back({kind.algorithm, Digest(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size))});
    return true;
}

void CountOther(std::vector<SignatureCount>& others, const SignatureList& list) {
    const std::string type = SignatureTypeName(list.type);
    auto found = std::find_if(others.begin(), others.end(), [&](const SignatureCount& count) { return count.type == type; });
    if (found == others.end()) found = others.insert(others.end(), {type, 0});
    found->count += list.entries.size();
}

} // namespace

SecureBootDatabase ReadSecureBootDatabase(std::span<const std::uint8_t> variable) {
    const SignatureLists lists = ParseSignatureLists(variable);
    SecureBootDatabase database;
    database.damaged = lists.damaged;
    for (const SignatureList& list : lists.lists) {
        const std::optional<HashKind> hashKind = HashKindOf(list.kind);
        if (list.kind == SignatureKind::Other) {
            CountOther(database.others, list);
            continue;
        }
        for (const SignatureEntry& entry : list.entries) {
            bool read = false;
            if (hashKind) {
                read = AddHash(database, *hashKind, entry.data);
            } else {
                auto certificate = ParseCertificate(entry.data);
                read = certificate && certificate->der.size() == entry.data.size();
                if (read) database.certificates.push_back(std::move(*certificate));
            }
            if (!read) ++database.unreadableEntries;
        }
    }
    return database;
}

bool HoldsHash(const std::vector<HashEntry>& hashes, HashAlgorithm algorithm, const Digest& digest) {
    return std::find(hashes.begin(), hashes.end(), HashEntry{algorithm, digest}) != hashes.end();
}

} // namespace orvanta
