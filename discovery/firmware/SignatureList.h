#pragma once
// The Secure Boot databases db and dbx: EFI_SIGNATURE_LISTs one after another.
// Each list: SignatureType (GUID), SignatureListSize, SignatureHeaderSize and
// SignatureSize (4 bytes each), a header of SignatureHeaderSize bytes, then
// entries of SignatureSize bytes: the owner's GUID and the data. Variables
// as read carry no authentication header (that is only on writes).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "discovery/bytes/Guid.h"

namespace orvanta {

inline constexpr std::size_t SignatureListHeaderSize = 28;
inline constexpr std::size_t SignatureOwnerSize = 16;

// EFI_CERT_X509_GUID {a5c059a1-94e4-4aa7-87b5-ab155c2bf072}: a DER certificate.
inline constexpr Guid X509CertificateType{0xa1, 0x59, 0xc0, 0xa5, 0xe4, 0x94, 0xa7, 0x4a,
                                          0x87, 0xb5, 0xab, 0x15, 0x5c, 0x2b, 0xf0, 0x72};
// EFI_CERT_SHA256_GUID {c1c41626-504c-4092-aca9-41f936934328}: a file's SHA-256.
inline constexpr Guid Sha256HashType{0x26, 0x16, 0xc4, 0xc1, 0x4c, 0x50, 0x92, 0x40,
                                     0xac, 0xa9, 0x41, 0xf9, 0x36, 0x93, 0x43, 0x28};
// EFI_CERT_X509_SHA256_GUID {3bd2a492-96c0-4079-b420-fcf98ef103ed}: the
// SHA-256 of a certificate's TBSCertificate, then the time of revocation.
inline constexpr Guid X509Sha256HashType{0x92, 0xa4, 0xd2, 0x3b, 0xc0, 0x96, 0x79, 0x40,
                                         0xb4, 0x20, 0xfc, 0xf9, 0x8e, 0xf1, 0x03, 0xed};

// EFI_CERT_SHA1_GUID, _SHA384_ and _SHA512_: a file's hash with that algorithm.
inline constexpr Guid Sha1HashType{0x12, 0xa5, 0x6c, 0x82, 0x10, 0xcf, 0xc9, 0x4a,
                                   0xb1, 0x87, 0xbe, 0x01, 0x49, 0x66, 0x31, 0xbd};
inline constexpr Guid Sha384HashType{0x07, 0x53, 0x3e, 0xff, 0xd0, 0x9f, 0xc9, 0x48,
                                     0x85, 0xf1, 0x8a, 0xd5, 0x6c, 0x70, 0x1e, 0x01};
inline constexpr Guid Sha512HashType{0xae, 0x0f, 0x3e, 0x09, 0xc4, 0xa6, 0x50, 0x4f,
                                     0x9f, 0x1b, 0xd4, 0x1e, 0x2b, 0x89, 0xc1, 0x9a};
// EFI_CERT_X509_SHA384_GUID and _SHA512_: a TBSCertificate's hash, then the time of revocation.
inline constexpr Guid X509Sha384HashType{0x6e, 0x87, 0x76, 0x70, 0xc2, 0x80, 0xe6, 0x4e,
                                         0xaa, 0xd2, 0x28, 0xb3, 0x49, 0xa6, 0x86, 0x5b};
inline constexpr Guid X509Sha512HashType{0x63, 0xbf, 0x6d, 0x44, 0x02, 0x25, 0xda, 0x4c,
                                         0xbc, 0xfa, 0x24, 0x65, 0xd2, 0xb0, 0xfe, 0x9d};

enum class SignatureKind {
    X509Certificate,
    Sha256Hash,
    X509Sha256Hash,
    Other,
    Sha1Hash,
    Sha384Hash,
    Sha512Hash,
    X509Sha384Hash,
    X509Sha512Hash,
};

struct SignatureEntry {
    Guid owner{};
    std::size_t offset = 0; // where the data lies in the variable
    std::vector<std::uint8_t> data;
};

struct SignatureList {
    Guid type{};
    SignatureKind kind = SignatureKind::Other;
    std::size_t offset = 0; // where the list lies in the variable
    std::size_t size = 0;
    std::vector<SignatureEntry> entries;
};

struct SignatureLists {
    std::vector<SignatureList> lists;
    // A list whose sizes lie (too small for its header, past the variable's
    // end, or not a whole number of entries): it and what follows are left out.
    bool damaged = false;
};

SignatureLists ParseSignatureLists(std::span<const std::uint8_t> variable);

// "X.509", "SHA-256", "X.509 SHA-256", other known types by their hash, else the GUID's text.
std::string SignatureTypeName(const Guid& type);

} // namespace orvanta
