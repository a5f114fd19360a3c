#pragma once
// Who made a program file: its version and its Authenticode signature.
#include <string>

namespace orvanta {

enum class SignatureState {
    Valid,      // signed, and the signature and its chain check out
    NotSigned,  // no signature, embedded or in a catalog of the system
    NotTrusted, // signed, but the signature or its chain doesn't check out
    Unknown,    // the system could not check it
};

struct FileIdentity {
    std::string version; // the file version, such as "10.0.19041.1"; "" without one
    SignatureState signature = SignatureState::Unknown;
    std::string signer; // the signing certificate's name, when there is one

    bool operator==(const FileIdentity&) const = default;
};

class FileIdentities {
public:
    virtual ~FileIdentities() = default;
    virtual FileIdentity identify(const std::string& path) = 0;
};

// A valid signature whose certificate names Microsoft.
bool IsSignedByMicrosoft(const FileIdentity& identity);

} // namespace orvanta
