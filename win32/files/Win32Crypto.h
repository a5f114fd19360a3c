#pragma once
// The system's cryptography: hashes through CNG (bcrypt.dll, present since
// Windows Vista, so in Windows 7 and WinPE 3), signatures through crypt32's
// message and certificate functions. Neither DLL is imported: each is loaded
// from System32 when first needed and its functions looked up, so a system
// that lacks one gives "could not check", never a failed start.
#include <windows.h>

#include "platform/files/Crypto.h"

namespace orvanta::win32 {

class Win32Crypto final : public Crypto {
public:
    std::optional<Digest> hash(HashAlgorithm algorithm, BytePieces pieces) override;
    CryptoCheck verifySigner(std::span<const std::uint8_t> contentInfo, std::span<const std::uint8_t> signerCertificate) override;
    CryptoCheck verifyCertificate(std::span<const std::uint8_t> certificate, std::span<const std::uint8_t> issuer) override;
};

} // namespace orvanta::win32
