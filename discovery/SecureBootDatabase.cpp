#include "discovery/SecureBootDatabase.h"

#include <algorithm>
#include <utility>

#include "discovery/SignatureList.h"

namespace orvanta {
namespace {

// An EFI_CERT_X509_SHA256 entry: the hash, then the time of revocation (EFI_TIME, 16 bytes).
constexpr std::size_t CertificateHashEntrySize = 32 + 16;

bool AddHash(std::vector<Sha256Digest>& hashes, const std::vector<std::uint8_t>& data, std::size_t size) {
    if (data.size() != size) return false;
    Sha256Digest hash{};
    std::copy_n(data.begin(), hash.size(), hash.begin());
    hashes.push_back(hash);
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
        if (list.kind == SignatureKind::Other) {
            CountOther(database.others, list);
            continue;
        }
        for (const SignatureEntry& entry : list.entries) {
            bool read = false;
            if (list.kind == SignatureKind::X509Certificate) {
                auto certificate = ParseCertificate(entry.data);
                read = certificate && certificate->der.size() == entry.data.size();
                if (read) database.certificates.push_back(std::move(*certificate));
            } else if (list.kind == SignatureKind::Sha256Hash) {
                read = AddHash(database.fileHashes, entry.data, sizeof(Sha256Digest));
            } else {
                read = AddHash(database.certificateHashes, entry.data, CertificateHashEntrySize);
            }
            if (!read) ++database.unreadableEntries;
        }
    }
    return database;
}

} // namespace orvanta
