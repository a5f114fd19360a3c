#pragma once
// The few fields of an X.509 certificate (RFC 5280) that Secure Boot's
// decisions need, read from its DER.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "discovery/signatures/CertificateName.h"

namespace orvanta {

struct Certificate {
    std::vector<std::uint8_t> der;            // the whole certificate, as encoded
    std::vector<std::uint8_t> serialNumber;   // the INTEGER's content bytes
    CertificateName issuer;
    CertificateName subject;
    std::vector<std::uint8_t> subjectKeyId;   // extension 2.5.29.14; empty without it
    std::vector<std::uint8_t> authorityKeyId; // keyIdentifier of extension 2.5.29.35; empty without it
    std::size_t tbsOffset = 0;                // where the TBSCertificate lies in the bytes parsed (and in der)
    std::size_t tbsLength = 0;

    // The TBSCertificate, whose hash dbx holds for a revoked certificate.
    std::span<const std::uint8_t> toBeSigned() const { return std::span(der).subspan(tbsOffset, tbsLength); }
};

// The certificate at the start of `bytes` (what follows it is not looked
// at); nothing when its structure doesn't read.
std::optional<Certificate> ParseCertificate(std::span<const std::uint8_t> bytes);

} // namespace orvanta
