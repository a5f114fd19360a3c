#pragma once
// BitLocker on the fixed volumes, as the scan saw it: a volume whose first
// sector is BitLocker's header is encrypted; one whose Windows folder could
// not be looked for because BitLocker keeps it locked is locked. Whether its
// protection is on or suspended can't be told from either.
#include <string>
#include <vector>

#include "discovery/volumes/InstallationScan.h"

namespace orvanta {

enum class VolumeEncryption { None, Encrypted, Locked };

VolumeEncryption EncryptionOf(const ScannedDrive& drive);

// The drives BitLocker keeps locked, in drive order ("D:").
std::vector<std::string> LockedDriveNames(const ScanResult& scan);

} // namespace orvanta
