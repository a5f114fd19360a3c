#include "discovery/signatures/Certificate.h"

#include <string>
#include <string_view>

#include "discovery/signatures/DerReader.h"

namespace orvanta {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::string_view SubjectKeyIdExtension = "2.5.29.14";
constexpr std::string_view AuthorityKeyIdExtension = "2.5.29.35";

std::vector<std::uint8_t> Copy(Bytes bytes) {
    return {bytes.begin(), bytes.end()};
}

// The key identifier an extension's value holds: SubjectKeyIdentifier is an
// OCTET STRING; AuthorityKeyIdentifier a SEQUENCE whose [0] is the identifier.
std::vector<std::uint8_t> KeyIdOf(const std::string& extension, Bytes value) {
    const auto inner = ReadDerElement(value);
    if (!inner) return {};
    if (extension == SubjectKeyIdExtension && inner->tag == DerOctetStringTag) return Copy(inner->content);
    if (extension != AuthorityKeyIdExtension || inner->tag != DerSequenceTag) return {};
    DerReader fields(inner->content);
    const auto keyId = fields.next(DerContextTag(0, false));
    return keyId ? Copy(keyId->content) : std::vector<std::uint8_t>{};
}

// Extensions: SEQUENCE OF { extnID, critical BOOLEAN DEFAULT FALSE, extnValue OCTET STRING }.
bool ReadExtensions(Bytes explicitContent, Certificate& certificate) {
    DerReader outer(explicitContent);
    const auto list = outer.next(DerSequenceTag);
    if (!list) return false;
    DerReader extensions(list->content);
    while (auto extension = extensions.next(DerSequenceTag)) {
        DerReader fields(extension->content);
        const auto id = fields.next(DerObjectIdTag);
        fields.next(DerBooleanTag);
        const auto value = fields.next(DerOctetStringTag);
        if (!id || !value) return false;
        const std::string name = ObjectIdText(id->content);
        if (name == SubjectKeyIdExtension) certificate.subjectKeyId = KeyIdOf(name, value->content);
        if (name == AuthorityKeyIdExtension) certificate.authorityKeyId = KeyIdOf(name, value->content);
    }
    return extensions.atEnd();
}

CertificateName NameOf(const DerElement& name) {
    return {NameText(name.whole), Copy(name.whole)};
}

// TBSCertificate: [0] version, serialNumber, signature, issuer, validity,
// subject, subjectPublicKeyInfo, [1] and [2] unique identifiers, [3] extensions.
bool ReadToBeSigned(Bytes content, Certificate& certificate) {
    DerReader fields(content);
    fields.next(DerContextTag(0, true));
    const auto serial = fields.next(DerIntegerTag);
    const auto algorithm = fields.next(DerSequenceTag);
    const auto issuer = fields.next(DerSequenceTag);
    const auto validity = fields.next(DerSequenceTag);
    const auto subject = fields.next(DerSequenceTag);
    const auto publicKey = fields.next(DerSequenceTag);
    if (!serial || !algorithm || !issuer || !validity || !subject || !publicKey) return false;
    certificate.serialNumber = Copy(serial->content);
    certificate.issuer = NameOf(*issuer);
    certificate.subject = NameOf(*subject);
    fields.next(DerContextTag(1, false));
    fields.next(DerContextTag(2, false));
    if (const auto extensions = fields.next(DerContextTag(3, true))) {
        if (!ReadExtensions(extensions->content, certificate)) return false;
    }
    return fields.atEnd();
}

} // namespace

std::optional<Certificate> ParseCertificate(Bytes bytes) {
    const auto whole = ReadDerElement(bytes);
    if (!whole || whole->tag != DerSequenceTag) return std::nullopt;
    DerReader parts(whole->content);
    const auto toBeSigned = parts.next(DerSequenceTag);
    const auto algorithm = parts.next(DerSequenceTag);
    const auto signature = parts.next(DerBitStringTag);
    if (!toBeSigned || !algorithm || !signature || !parts.atEnd()) return std::nullopt;
    Certificate certificate;
    if (!ReadToBeSigned(toBeSigned->content, certificate)) return std::nullopt;
    certificate.der = Copy(whole->whole);
    certificate.tbsOffset = static_cast<std::size_t>(toBeSigned->whole.data() - bytes.data());
    certificate.tbsLength = toBeSigned->whole.size();
    return certificate;
}

} // namespace orvanta
