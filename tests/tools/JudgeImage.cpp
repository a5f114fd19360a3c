// orvanta_judge IMAGE DB [DBX]: the verdict Secure Boot gives an image, by
// the program's own rules with OpenSSL as the system's cryptography, for
// comparing with what real firmware does. DB and DBX hold a firmware
// variable's data: EFI_SIGNATURE_LISTs one after another, no attributes.
// Prints one line, "allowed" or "refused: <reason>[, <reason>...]", and
// exits 0; exits 2 with a message on standard error when a file can't be read.
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "crypto/OpensslCrypto.h"
#include "discovery/signatures/PeImage.h"
#include "discovery/firmware/SecureBootDatabase.h"
#include "repair/secureboot/BootManagerTrust.h"

namespace {

using namespace orvanta;

std::optional<std::vector<std::uint8_t>> ReadWhole(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) return std::nullopt;
    return bytes;
}

const char* ReasonWord(TrustRefusal refusal) {
    switch (refusal) {
    case TrustRefusal::NotAllowedByDb: return "not-allowed-by-db";
    case TrustRefusal::CertificateInDbx: return "certificate-in-dbx";
    case TrustRefusal::FileHashInDbx: return "hash-in-dbx";
    case TrustRefusal::DigestMismatch: return "digest-mismatch";
    case TrustRefusal::SignatureInvalid: return "signature-invalid";
    case TrustRefusal::MalformedCertificateTable: return "malformed-certificate-table";
    }
    return "unknown";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: orvanta_judge IMAGE DB [DBX]\n";
        return 2;
    }
    std::vector<std::vector<std::uint8_t>> inputs;
    for (int index = 1; index < argc; ++index) {
        auto bytes = ReadWhole(argv[index]);
        if (!bytes) {
            std::cerr << "orvanta_judge: cannot read " << argv[index] << "\n";
            return 2;
        }
        inputs.push_back(std::move(*bytes));
    }
    const std::optional<PeImage> image = ReadPeImage(inputs[0]);
    if (!image) {
        std::cout << "refused: not-a-pe-image\n";
        return 0;
    }
    OpensslCrypto crypto;
    const SecureBootDatabase db = ReadSecureBootDatabase(inputs[1]);
    const SecureBootDatabase dbx = inputs.size() > 2 ? ReadSecureBootDatabase(inputs[2]) : SecureBootDatabase{};
    const TrustVerdict verdict = JudgeBootManagerTrust(CheckSignedImage(inputs[0], *image, crypto), db, dbx, crypto);
    if (!verdict.refused()) {
        std::cout << "allowed\n";
        return 0;
    }
    std::cout << "refused: ";
    for (std::size_t index = 0; index < verdict.refusals.size(); ++index) {
        std::cout << (index == 0 ? "" : ", ") << ReasonWord(verdict.refusals[index]);
    }
    std::cout << "\n";
    return 0;
}
