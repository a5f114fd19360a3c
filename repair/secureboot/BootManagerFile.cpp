#include "repair/secureboot/BootManagerFile.h"

#include "discovery/signatures/PeImage.h"
#include "platform/errors/SystemErrors.h"

namespace orvanta {

Digest BootManagerFile::authenticodeSha256() const {
    const auto digest = image.digests.find(HashAlgorithm::Sha256);
    return digest == image.digests.end() ? Digest{} : digest->second;
}

BootManagerFile ReadBootManagerFile(BootFileServices services, const std::string& path, bool identify) {
    BootManagerFile file;
    file.path = path;
    FileRead read = services.files.readFile(path, LargestBootManagerSize);
    file.status = read.status;
    file.error = read.error;
    if (read.status == FileReadStatus::Missing) return file;
    if (identify) file.identity = services.fileIdentities.identify(path);
    if (read.status != FileReadStatus::Read) return file;
    const std::optional<PeImage> image = ReadPeImage(read.bytes);
    if (!image) return file;
    file.isImage = true;
    file.machine = image->machine;
    file.image = CheckSignedImage(read.bytes, *image, services.crypto);
    file.integrity = IntegrityOf(file.image);
    return file;
}

bool DatabasesReadable(const UefiBootState& state) {
    return state.db.error == 0 && (state.dbx.error == 0 || state.dbx.error == VariableNotFoundError);
}

void JudgeBootManagerFile(BootManagerFile& file, const UefiBootState& state, Crypto& crypto) {
    if (!file.isImage) return;
    file.trust = JudgeBootManagerTrust(file.image, state.db.value, state.dbx.value, crypto);
}

} // namespace orvanta
