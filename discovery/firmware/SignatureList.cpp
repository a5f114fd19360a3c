#include "discovery/firmware/SignatureList.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "discovery/bytes/LittleEndian.h"

namespace orvanta {
namespace {

using Bytes = std::span<const std::uint8_t>;

SignatureKind KindOf(const Guid& type) {
    if (type == X509CertificateType) return SignatureKind::X509Certificate;
    if (type == Sha256HashType) return SignatureKind::Sha256Hash;
    if (type == X509Sha256HashType) return SignatureKind::X509Sha256Hash;
    if (type == Sha1HashType) return SignatureKind::Sha1Hash;
    if (type == Sha384HashType) return SignatureKind::Sha384Hash;
    if (type == Sha512HashType) return SignatureKind::Sha512Hash;
    if (type == X509Sha384HashType) return SignatureKind::X509Sha384Hash;
    if (type == X509Sha512HashType) return SignatureKind::X509Sha512Hash;
    return SignatureKind::Other;
}

// The list at `at`, or nothing when its sizes lie.
std::optional<SignatureList> ListAt(Bytes variable, std::size_t at) {
    const std::size_t rest = variable.size() - at;
    if (rest < SignatureListHeaderSize) return std::nullopt;
    const std::size_t listSize = ReadLittleEndian32(variable, at + 16);
    const std::size_t headerSize = ReadLittleEndian32(variable, at + 20);
    const std::size_t entrySize = ReadLittleEndian32(variable, at + 24);
    if (listSize > rest || listSize < SignatureListHeaderSize || headerSize > listSize - SignatureListHeaderSize ||
        entrySize < SignatureOwnerSize) {
        return std::nullopt;
    }
    const std::size_t entriesSize = listSize - SignatureListHeaderSize - headerSize;
    if (entriesSize % entrySize != 0) return std::nullopt;
    SignatureList list;
    list.type = GuidAt(variable.subspan(at));
    list.kind = KindOf(list.type);
    list.offset = at;
    list.size = listSize;
    for (std::size_t entry = at + SignatureListHeaderSize + headerSize; entry < at + listSize; entry += entrySize) {
        const Bytes data = variable.subspan(entry + SignatureOwnerSize, entrySize - SignatureOwnerSize);
        list.entries.push_back({GuidAt(variable.subspan(entry)), entry + SignatureOwnerSize, {data.begin(), data.end()}});
    }
    return list;
}

} // namespace

SignatureLists ParseSignatureLists(Bytes variable) {
    SignatureLists read;
    for (std::size_t at = 0; at < variable.size();) {
        auto list = ListAt(variable, at);
        if (!list) {
            read.damaged = true;
            break;
        }
        at += list->size;
        read.lists.push_back(std::move(*list));
    }
    return read;
}

std::string SignatureTypeName(const Guid& type) {
    static constexpr std::array<std::pair<Guid, std::string_view>, 9> Known{{
        {X509CertificateType, "X.509"},
        {Sha256HashType, "SHA-256"},
        {X509Sha256HashType, "X.509 SHA-256"},
        {Sha1HashType, "SHA-1"},
        {Sha384HashType, "SHA-384"},
        {Sha512HashType, "SHA-512"},
        // EFI_CERT_RSA2048_GUID
        {{0xe8, 0x66, 0x57, 0x3c, 0x9c, 0x26, 0x34, 0x4e, 0xaa, 0x14, 0xed, 0x77, 0x6e, 0x85, 0xb3, 0xb6}, "RSA-2048"},
        {X509Sha384HashType, "X.509 SHA-384"},
        {X509Sha512HashType, "X.509 SHA-512"},
    }};
    for (const auto& [guid, name] : Known) {
        if (guid == type) return std::string(name);
    }
    return GuidText(type);
}

} // namespace orvanta
