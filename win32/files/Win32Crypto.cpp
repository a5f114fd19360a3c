#include "win32/files/Win32Crypto.h"

#include <bcrypt.h>
#include <wincrypt.h>

#include "win32/base/DllSearchPath.h"
#include "win32/base/RuntimeFunction.h"

namespace orvanta::win32 {
namespace {

struct CngApi {
    HMODULE module = LoadSystemLibrary(L"bcrypt.dll");
    decltype(&BCryptOpenAlgorithmProvider) open = ExportedFunction<decltype(&BCryptOpenAlgorithmProvider)>(module, "BCryptOpenAlgorithmProvider");
    decltype(&BCryptCloseAlgorithmProvider) close = ExportedFunction<decltype(&BCryptCloseAlgorithmProvider)>(module, "BCryptCloseAlgorithmProvider");
    decltype(&BCryptCreateHash) create = ExportedFunction<decltype(&BCryptCreateHash)>(module, "BCryptCreateHash");
    decltype(&BCryptHashData) data = ExportedFunction<decltype(&BCryptHashData)>(module, "BCryptHashData");
    decltype(&BCryptFinishHash) finish = ExportedFunction<decltype(&BCryptFinishHash)>(module, "BCryptFinishHash");
    decltype(&BCryptDestroyHash) destroy = ExportedFunction<decltype(&BCryptDestroyHash)>(module, "BCryptDestroyHash");

    bool usable() const {
        return open != nullptr && close != nullptr && create != nullptr && data != nullptr && finish != nullptr && destroy != nullptr;
    }
};

struct Crypt32Api {
    HMODULE module = LoadSystemLibrary(L"crypt32.dll");
    decltype(&CryptMsgOpenToDecode) openMessage = ExportedFunction<decltype(&CryptMsgOpenToDecode)>(module, "CryptMsgOpenToDecode");
    decltype(&CryptMsgUpdate) update = ExportedFunction<decltype(&CryptMsgUpdate)>(module, "CryptMsgUpdate");
    decltype(&CryptMsgControl) control = ExportedFunction<decltype(&CryptMsgControl)>(module, "CryptMsgControl");
    decltype(&CryptMsgClose) closeMessage = ExportedFunction<decltype(&CryptMsgClose)>(module, "CryptMsgClose");
    decltype(&CertCreateCertificateContext) certificate =
        ExportedFunction<decltype(&CertCreateCertificateContext)>(module, "CertCreateCertificateContext");
    decltype(&CertFreeCertificateContext) freeCertificate =
        ExportedFunction<decltype(&CertFreeCertificateContext)>(module, "CertFreeCertificateContext");
    decltype(&CryptVerifyCertificateSignatureEx) verifyCertificate =
        ExportedFunction<decltype(&CryptVerifyCertificateSignatureEx)>(module, "CryptVerifyCertificateSignatureEx");

    bool usable() const { return certificate != nullptr && freeCertificate != nullptr; }
};

const CngApi& Cng() {
    static const CngApi api;
    return api;
}

const Crypt32Api& Crypt32() {
    static const Crypt32Api api;
    return api;
}

const wchar_t* AlgorithmName(HashAlgorithm algorithm) {
    switch (algorithm) {
    case HashAlgorithm::Sha1: return BCRYPT_SHA1_ALGORITHM;
    case HashAlgorithm::Sha256: return BCRYPT_SHA256_ALGORITHM;
    case HashAlgorithm::Sha384: return BCRYPT_SHA384_ALGORITHM;
    case HashAlgorithm::Sha512: return BCRYPT_SHA512_ALGORITHM;
    }
    return nullptr;
}

// A failed check: the bytes or the signature are wrong, or the system lacks
// what the check needs (an algorithm, a provider). Only the first is a "no".
CryptoCheck FailureOf(DWORD error) {
    const bool asn1 = error >= static_cast<DWORD>(CRYPT_E_ASN1_ERROR) && error <= static_cast<DWORD>(CRYPT_E_ASN1_EXTENDED);
    const bool wrong = error == static_cast<DWORD>(NTE_BAD_SIGNATURE) || error == static_cast<DWORD>(CRYPT_E_HASH_VALUE) ||
                       error == static_cast<DWORD>(NTE_BAD_DATA) || error == static_cast<DWORD>(CRYPT_E_BAD_ENCODE) ||
                       error == static_cast<DWORD>(CRYPT_E_UNEXPECTED_MSG_TYPE) ||
                       error == static_cast<DWORD>(CRYPT_E_INVALID_MSG_TYPE) || error == static_cast<DWORD>(CRYPT_E_SIGNER_NOT_FOUND);
    return asn1 || wrong ? CryptoCheck::Invalid : CryptoCheck::CouldNotCheck;
}

// A certificate context over DER bytes, freed at the end of its scope.
class CertificateContext {
public:
    explicit CertificateContext(std::span<const std::uint8_t> der)
        : context_(Crypt32().certificate(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()))) {}
    ~CertificateContext() {
        if (context_ != nullptr) Crypt32().freeCertificate(context_);
    }
    CertificateContext(const CertificateContext&) = delete;
    CertificateContext& operator=(const CertificateContext&) = delete;
    PCCERT_CONTEXT get() const { return context_; }

private:
    PCCERT_CONTEXT context_;
};

} // namespace

std::optional<Digest> Win32Crypto::hash(HashAlgorithm algorithm, BytePieces pieces) {
    const CngApi& api = Cng();
    BCRYPT_ALG_HANDLE provider = nullptr;
    if (!api.usable() || !BCRYPT_SUCCESS(api.open(&provider, AlgorithmName(algorithm), nullptr, 0))) return std::nullopt;
    Digest digest(DigestSize(algorithm));
    BCRYPT_HASH_HANDLE hash = nullptr;
    // With no buffer of ours the hash object is the system's (from Windows 7 on).
    bool done = BCRYPT_SUCCESS(api.create(provider, &hash, nullptr, 0, nullptr, 0, 0));
    for (const auto piece : pieces) {
        // BCryptHashData takes at most 4 GB a call; a boot manager is a few MB.
        done = done && BCRYPT_SUCCESS(api.data(hash, const_cast<PUCHAR>(piece.data()), static_cast<ULONG>(piece.size()), 0));
    }
    done = done && BCRYPT_SUCCESS(api.finish(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
    if (hash != nullptr) api.destroy(hash);
    api.close(provider, 0);
    if (!done) return std::nullopt;
    return digest;
}

CryptoCheck Win32Crypto::verifySigner(std::span<const std::uint8_t> contentInfo, std::span<const std::uint8_t> signerCertificate) {
    const Crypt32Api& api = Crypt32();
    if (!api.usable() || api.openMessage == nullptr || api.update == nullptr || api.control == nullptr || api.closeMessage == nullptr) {
        return CryptoCheck::CouldNotCheck;
    }
    const CertificateContext signer(signerCertificate);
    if (signer.get() == nullptr) return FailureOf(GetLastError());
    HCRYPTMSG message = api.openMessage(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, 0, 0, nullptr, nullptr);
    if (message == nullptr) return CryptoCheck::CouldNotCheck;
    CryptoCheck result = CryptoCheck::Valid;
    if (api.update(message, contentInfo.data(), static_cast<DWORD>(contentInfo.size()), TRUE) == FALSE) {
        result = FailureOf(GetLastError());
    } else {
        CMSG_CTRL_VERIFY_SIGNATURE_EX_PARA verify{};
        verify.cbSize = sizeof(verify);
        verify.dwSignerIndex = 0;
        verify.dwSignerType = CMSG_VERIFY_SIGNER_CERT;
        verify.pvSigner = const_cast<CERT_CONTEXT*>(signer.get());
        if (api.control(message, 0, CMSG_CTRL_VERIFY_SIGNATURE_EX, &verify) == FALSE) result = FailureOf(GetLastError());
    }
    api.closeMessage(message);
    return result;
}

CryptoCheck Win32Crypto::verifyCertificate(std::span<const std::uint8_t> certificate, std::span<const std::uint8_t> issuer) {
    const Crypt32Api& api = Crypt32();
    if (!api.usable() || api.verifyCertificate == nullptr) return CryptoCheck::CouldNotCheck;
    const CertificateContext signer(issuer);
    if (signer.get() == nullptr) return FailureOf(GetLastError());
    CRYPT_DATA_BLOB subject{static_cast<DWORD>(certificate.size()), const_cast<BYTE*>(certificate.data())};
    const BOOL verified = api.verifyCertificate(0, X509_ASN_ENCODING, CRYPT_VERIFY_CERT_SIGN_SUBJECT_BLOB, &subject,
                                                CRYPT_VERIFY_CERT_SIGN_ISSUER_CERT, const_cast<CERT_CONTEXT*>(signer.get()), 0, nullptr);
    return verified != FALSE ? CryptoCheck::Valid : FailureOf(GetLastError());
}

} // namespace orvanta::win32
