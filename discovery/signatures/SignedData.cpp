#include "discovery/signatures/SignedData.h"

#include <algorithm>
#include <utility>

#include "discovery/signatures/DerReader.h"

namespace orvanta {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::string_view SignedDataId = "1.2.840.113549.1.7.2";
constexpr std::string_view NestedSignatureId = "1.3.6.1.4.1.311.2.4.1";
constexpr std::string_view MessageDigestId = "1.2.840.113549.1.9.4";
// EFI_CERT_TYPE_PKCS7_GUID {4aafd29d-68df-49ee-8aa9-347d375665a7}, as stored.
constexpr std::uint8_t Pkcs7CertificateType[16] = {0x9d, 0xd2, 0xaf, 0x4a, 0xdf, 0x68, 0xee, 0x49,
                                                   0x8a, 0xa9, 0x34, 0x7d, 0x37, 0x56, 0x65, 0xa7};

bool HasObjectId(std::optional<DerElement> element, std::string_view id) {
    return element && ObjectIdText(element->content) == id;
}

bool SameBytes(Bytes a, const std::vector<std::uint8_t>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

std::vector<std::uint8_t> Copy(Bytes bytes) {
    return {bytes.begin(), bytes.end()};
}

// An AlgorithmIdentifier's object identifier.
std::string AlgorithmOf(const std::optional<DerElement>& identifier) {
    if (!identifier) return {};
    const auto id = DerReader(identifier->content).next(DerObjectIdTag);
    return id ? ObjectIdText(id->content) : std::string();
}

// SpcIndirectDataContent: SEQUENCE { data, messageDigest SEQUENCE { AlgorithmIdentifier, OCTET STRING } },
// in the SignedData's contentInfo as [0] EXPLICIT.
void ReadIndirectData(const DerElement& contentInfo, Signature& signature) {
    DerReader fields(contentInfo.content);
    fields.next(DerObjectIdTag);
    const auto content = fields.next(DerContextTag(0, true));
    const auto indirect = content ? DerReader(content->content).next(DerSequenceTag) : std::nullopt;
    if (!indirect) return;
    DerReader parts(indirect->content);
    parts.next(DerSequenceTag);
    const auto digestInfo = parts.next(DerSequenceTag);
    if (!digestInfo) return;
    DerReader digest(digestInfo->content);
    const auto algorithm = digest.next(DerSequenceTag);
    const auto value = digest.next(DerOctetStringTag);
    if (!algorithm || !value) return;
    signature.fileDigest = Copy(value->content);
    signature.indirectContent = Copy(indirect->content);
}

// The certificate the signer's identifier names: issuer and serial number,
// or ([0]) the subject key identifier.
std::optional<std::size_t> SignerOf(const DerElement& identifier, const std::vector<Certificate>& certificates) {
    const auto matches = [&](const Certificate& certificate) {
        if (identifier.tag == DerContextTag(0, false)) return SameBytes(identifier.content, certificate.subjectKeyId);
        DerReader fields(identifier.content);
        const auto issuer = fields.next(DerSequenceTag);
        const auto serial = fields.next(DerIntegerTag);
        return issuer && serial && SameBytes(issuer->whole, certificate.issuer.der) &&
               SameBytes(serial->content, certificate.serialNumber);
    };
    const auto found = std::find_if(certificates.begin(), certificates.end(), matches);
    if (found == certificates.end()) return std::nullopt;
    return static_cast<std::size_t>(found - certificates.begin());
}

// The ContentInfos nested in a SignerInfo's unauthenticated attributes ([1] IMPLICIT).
std::vector<Bytes> NestedIn(Bytes attributes) {
    std::vector<Bytes> nested;
    DerReader list(attributes);
    while (auto attribute = list.next(DerSequenceTag)) {
        DerReader fields(attribute->content);
        if (!HasObjectId(fields.next(DerObjectIdTag), NestedSignatureId)) continue;
        const auto values = fields.next(DerSetTag);
        if (!values) continue;
        DerReader each(values->content);
        while (auto value = each.next()) nested.push_back(value->whole);
    }
    return nested;
}

// The value of the messageDigest attribute among a SignerInfo's authenticated ones.
std::vector<std::uint8_t> MessageDigestIn(Bytes attributes) {
    DerReader list(attributes);
    while (auto attribute = list.next(DerSequenceTag)) {
        DerReader fields(attribute->content);
        if (!HasObjectId(fields.next(DerObjectIdTag), MessageDigestId)) continue;
        const auto values = fields.next(DerSetTag);
        const auto value = values ? DerReader(values->content).next(DerOctetStringTag) : std::nullopt;
        if (value) return Copy(value->content);
    }
    return {};
}

// SignerInfo: version, signer identifier, digestAlgorithm, [0] authenticated
// attributes, digestEncryptionAlgorithm, encryptedDigest, [1] unauthenticated
// attributes. The first names the signer; nested signatures come from each.
void ReadSignerInfo(Bytes signerInfo, Signature& signature, std::vector<Bytes>& nested) {
    const bool first = signature.signerInfos++ == 0;
    DerReader fields(signerInfo);
    fields.next(DerIntegerTag);
    const auto identifier = fields.next();
    const auto digestAlgorithm = fields.next(DerSequenceTag);
    const auto authenticated = fields.next(DerContextTag(0, true));
    if (first) {
        if (identifier) signature.signer = SignerOf(*identifier, signature.certificates);
        signature.signerDigestAlgorithm = AlgorithmOf(digestAlgorithm);
        if (authenticated) signature.messageDigest = MessageDigestIn(authenticated->content);
    }
    fields.next(DerSequenceTag);
    fields.next(DerOctetStringTag);
    if (const auto unauthenticated = fields.next(DerContextTag(1, true))) {
        for (const Bytes inner : NestedIn(unauthenticated->content)) nested.push_back(inner);
    }
}

void ReadSignaturesInto(Bytes contentInfo, std::size_t depth, std::vector<Signature>& signatures) {
    if (depth > MostSignatureDepth) return;
    const auto outer = ReadDerElement(contentInfo);
    if (!outer || outer->tag != DerSequenceTag) return;
    DerReader info(outer->content);
    if (!HasObjectId(info.next(DerObjectIdTag), SignedDataId)) return;
    const auto explicitContent = info.next(DerContextTag(0, true));
    const auto signedData = explicitContent ? DerReader(explicitContent->content).next(DerSequenceTag) : std::nullopt;
    if (!signedData) return;
    // SignedData: version, digestAlgorithms, contentInfo, [0] certificates, [1] CRLs, signerInfos.
    DerReader fields(signedData->content);
    fields.next(DerIntegerTag);
    const auto digestAlgorithms = fields.next(DerSetTag);
    const auto content = fields.next(DerSequenceTag);
    if (!content) return;
    Signature signature;
    signature.depth = depth;
    signature.contentInfo = Copy(outer->whole);
    if (digestAlgorithms) signature.digestAlgorithm = AlgorithmOf(DerReader(digestAlgorithms->content).next(DerSequenceTag));
    ReadIndirectData(*content, signature);
    if (const auto certificates = fields.next(DerContextTag(0, true))) {
        DerReader each(certificates->content);
        while (auto element = each.next()) {
            if (auto certificate = ParseCertificate(element->whole)) signature.certificates.push_back(std::move(*certificate));
        }
    }
    fields.next(DerContextTag(1, true));
    std::vector<Bytes> nested;
    if (const auto signerInfos = fields.next(DerSetTag)) {
        DerReader each(signerInfos->content);
        while (auto signerInfo = each.next(DerSequenceTag)) ReadSignerInfo(signerInfo->content, signature, nested);
    }
    signatures.push_back(std::move(signature));
    for (const Bytes inner : nested) ReadSignaturesInto(inner, depth + 1, signatures);
}

} // namespace

std::vector<Signature> ReadSignatures(Bytes contentInfo) {
    std::vector<Signature> signatures;
    ReadSignaturesInto(contentInfo, 0, signatures);
    return signatures;
}

std::vector<Signature> SignaturesOf(const PeImage& image) {
    std::vector<Signature> signatures;
    for (std::size_t index = 0; index < image.certificates.size(); ++index) {
        const WinCertificate& entry = image.certificates[index];
        Bytes content = entry.content;
        if (entry.type == EfiGuidCertificateType) {
            const std::size_t guidSize = sizeof Pkcs7CertificateType;
            if (content.size() < guidSize || !std::equal(content.begin(), content.begin() + guidSize, Pkcs7CertificateType)) continue;
            content = content.subspan(guidSize);
        } else if (entry.type != PkcsSignedDataCertificateType) {
            continue;
        }
        for (Signature& signature : ReadSignatures(content)) {
            signature.entry = index;
            signatures.push_back(std::move(signature));
        }
    }
    return signatures;
}

std::optional<HashAlgorithm> HashAlgorithmOf(std::string_view objectId) {
    if (objectId == Sha1AlgorithmId) return HashAlgorithm::Sha1;
    if (objectId == Sha256AlgorithmId) return HashAlgorithm::Sha256;
    if (objectId == Sha384AlgorithmId) return HashAlgorithm::Sha384;
    if (objectId == Sha512AlgorithmId) return HashAlgorithm::Sha512;
    return std::nullopt;
}

} // namespace orvanta
