#pragma once
// The drive strings and drive types, from the kernel; the devices behind the letters.
#include "platform/disks/Drives.h"

namespace orvanta::win32 {

class Win32Drives final : public Drives {
public:
    std::uint32_t logicalDriveStrings(std::string& buffer) override;
    std::uint32_t driveType(const std::string& driveName) override;
    bool mapDrive(const std::string& driveName, const std::string& devicePath) override;
    void unmapDrive(const std::string& driveName, const std::string& devicePath) override;
    std::vector<std::string> deviceNamesOf(const std::string& driveName) override;
};

} // namespace orvanta::win32
