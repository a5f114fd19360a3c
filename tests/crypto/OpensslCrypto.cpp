#include "crypto/OpensslCrypto.h"

#include <openssl/evp.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>

#include <memory>

namespace orvanta {
namespace {

template <auto Free>
struct Freer {
    template <typename T>
    void operator()(T* pointer) const { Free(pointer); }
};
using Pkcs7Owner = std::unique_ptr<PKCS7, Freer<PKCS7_free>>;
using X509Owner = std::unique_ptr<X509, Freer<X509_free>>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, Freer<EVP_MD_CTX_free>>;

const EVP_MD* DigestOf(HashAlgorithm algorithm) {
    switch (algorithm) {
    case HashAlgorithm::Sha1: return EVP_sha1();
    case HashAlgorithm::Sha256: return EVP_sha256();
    case HashAlgorithm::Sha384: return EVP_sha384();
    case HashAlgorithm::Sha512: return EVP_sha512();
    }
    return nullptr;
}

X509Owner CertificateOf(std::span<const std::uint8_t> der) {
    const unsigned char* at = der.data();
    return X509Owner(d2i_X509(nullptr, &at, static_cast<long>(der.size())));
}

// The authenticated attributes, DER-encoded as the SET OF they are signed as.
std::vector<std::uint8_t> SignedAttributes(PKCS7_SIGNER_INFO* signer) {
    unsigned char* encoded = nullptr;
    const int length = ASN1_item_i2d(reinterpret_cast<ASN1_VALUE*>(signer->auth_attr), &encoded, ASN1_ITEM_rptr(PKCS7_ATTR_VERIFY));
    if (length <= 0) return {};
    std::vector<std::uint8_t> bytes(encoded, encoded + length);
    OPENSSL_free(encoded);
    return bytes;
}

} // namespace

std::optional<Digest> OpensslCrypto::hash(HashAlgorithm algorithm, BytePieces pieces) {
    const DigestContext context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), DigestOf(algorithm), nullptr) != 1) return std::nullopt;
    for (const auto piece : pieces) {
        if (EVP_DigestUpdate(context.get(), piece.data(), piece.size()) != 1) return std::nullopt;
    }
    Digest digest(EVP_MAX_MD_SIZE);
    unsigned int size = 0;
    if (EVP_DigestFinal_ex(context.get(), digest.data(), &size) != 1) return std::nullopt;
    digest.resize(size);
    return digest;
}

CryptoCheck OpensslCrypto::verifySigner(std::span<const std::uint8_t> contentInfo, std::span<const std::uint8_t> signerCertificate) {
    const unsigned char* at = contentInfo.data();
    const Pkcs7Owner message(d2i_PKCS7(nullptr, &at, static_cast<long>(contentInfo.size())));
    const X509Owner certificate = CertificateOf(signerCertificate);
    if (!message || !certificate || PKCS7_type_is_signed(message.get()) == 0) return CryptoCheck::Invalid;
    STACK_OF(PKCS7_SIGNER_INFO)* signers = PKCS7_get_signer_info(message.get());
    if (signers == nullptr || sk_PKCS7_SIGNER_INFO_num(signers) < 1) return CryptoCheck::Invalid;
    PKCS7_SIGNER_INFO* signer = sk_PKCS7_SIGNER_INFO_value(signers, 0);
    const std::vector<std::uint8_t> attributes = SignedAttributes(signer);
    const EVP_MD* digest = EVP_get_digestbyobj(signer->digest_alg->algorithm);
    EVP_PKEY* key = X509_get0_pubkey(certificate.get());
    if (attributes.empty() || digest == nullptr || key == nullptr) return CryptoCheck::Invalid;
    const DigestContext context(EVP_MD_CTX_new());
    if (!context || EVP_DigestVerifyInit(context.get(), nullptr, digest, nullptr, key) != 1) return CryptoCheck::Invalid;
    const int verified = EVP_DigestVerify(context.get(), signer->enc_digest->data, static_cast<std::size_t>(signer->enc_digest->length),
                                          attributes.data(), attributes.size());
    return verified == 1 ? CryptoCheck::Valid : CryptoCheck::Invalid;
}

CryptoCheck OpensslCrypto::verifyCertificate(std::span<const std::uint8_t> certificate, std::span<const std::uint8_t> issuer) {
    const X509Owner subject = CertificateOf(certificate);
    const X509Owner signer = CertificateOf(issuer);
    EVP_PKEY* key = signer ? X509_get0_pubkey(signer.get()) : nullptr;
    if (!subject || key == nullptr) return CryptoCheck::Invalid;
    return X509_verify(subject.get(), key) == 1 ? CryptoCheck::Valid : CryptoCheck::Invalid;
}

} // namespace orvanta
