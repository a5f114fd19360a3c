#include "platform/files/FileIdentities.h"

namespace orvanta {

bool IsSignedByMicrosoft(const FileIdentity& identity) {
    return identity.signature == SignatureState::Valid && identity.signer.starts_with("Microsoft ");
}

} // namespace orvanta
