#include "discovery/SignedData.h"

#include <algorithm>
#include <utility>

#include "discovery/DerReader.h"

namespace orvanta {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::string_view SignedDataId = "1.2.840.113549.1.7.2";
constexpr std::string_view NestedSignatureId = "1.3.6.1.4.1.311.2.4.1";

bool HasObjectId(std::optional<DerElement> element, std::string_view id) {
    return element && ObjectIdText(element->content) == id;
}

bool SameBytes(Bytes a, const std::vector<std::uint8_t>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
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
    signature.digestAlgorithm = ObjectIdText(DerReader(algorithm->content).next(DerObjectIdTag).value_or(DerElement{}).content);
    signature.fileDigest.assign(value->content.begin(), value->content.end());
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

// SignerInfo: version, signer identifier, digestAlgorithm, [0] authenticated
// attributes, digestEncryptionAlgorithm, encryptedDigest, [1] unauthenticated attributes.
void ReadSignerInfo(Bytes signerInfo, Signature& signature, std::vector<Bytes>& nested) {
    DerReader fields(signerInfo);
    fields.next(DerIntegerTag);
    const auto identifier = fields.next();
    if (identifier && !signature.signer) signature.signer = SignerOf(*identifier, signature.certificates);
    fields.next(DerSequenceTag);
    fields.next(DerContextTag(0, true));
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
    fields.next(DerSetTag);
    const auto content = fields.next(DerSequenceTag);
    if (!content) return;
    Signature signature;
    signature.depth = depth;
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
    for (const WinCertificate& entry : image.certificates) {
        if (entry.revision != WinCertificateRevision2 || entry.type != PkcsSignedDataCertificateType) continue;
        for (Signature& signature : ReadSignatures(entry.content)) signatures.push_back(std::move(signature));
    }
    return signatures;
}

} // namespace orvanta
