#pragma once
// An X.509 Name (issuer or subject) as people read it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvanta {

struct CertificateName {
    std::string text;               // "CN=Windows UEFI CA 2023, O=Microsoft Corporation, C=US"
    std::vector<std::uint8_t> der;  // the Name as encoded: names are the same when these are

    bool operator==(const CertificateName&) const = default;
};

// The Name element (a SEQUENCE of SETs of attribute type and value), its
// attributes in the reverse of their encoded order (most specific first, as
// RFC 4514 writes it), joined by ", " or, within a multi-valued part, " + "; attributes other than the usual ones by their object identifier.
// Values are decoded from their string types into UTF-8; a value of another
// type is written as '#' and its hexadecimal DER. "" for a Name that doesn't read.
std::string NameText(std::span<const std::uint8_t> name);

} // namespace orvanta
