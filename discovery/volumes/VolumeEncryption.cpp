#include "discovery/volumes/VolumeEncryption.h"

namespace orvanta {

VolumeEncryption EncryptionOf(const ScannedDrive& drive) {
    if (drive.locked) return VolumeEncryption::Locked;
    return drive.bootSector == BootSectorKind::BitLocker ? VolumeEncryption::Encrypted : VolumeEncryption::None;
}

std::vector<std::string> LockedDriveNames(const ScanResult& scan) {
    std::vector<std::string> names;
    for (const ScannedDrive& drive : scan.drives) {
        if (drive.locked) names.push_back(drive.name);
    }
    return names;
}

} // namespace orvanta
