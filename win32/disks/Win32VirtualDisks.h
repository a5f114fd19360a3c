#pragma once
// The virtual disk behind a drive, from virtdisk.dll's
// GetStorageDependencyInformation, looked up at run time: WinPE may lack it.
#include "platform/disks/VirtualDisks.h"

namespace orvanta::win32 {

class Win32VirtualDisks final : public VirtualDisks {
public:
    VirtualDiskLookup fileBehind(const std::string& driveName) override;
};

} // namespace orvanta::win32
