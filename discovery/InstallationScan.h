#pragma once
// Finding the Windows installations: every fixed drive that holds a Windows
// folder in its root.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/VolumeDevices.h"

namespace orvanta {

struct ScanServices {
    Drives& drives;
    VolumeDevices& volumes;
    FileSystem& files;
};

// One drive letter as the scan saw it.
struct ScannedDrive {
    std::string name;          // "C:"
    std::uint32_t type = 0;    // GetDriveType's answer
    std::uint32_t busType = 0; // asked of fixed drives only; 0 unknown
    bool holdsWindows = false; // asked of fixed drives only

    bool operator==(const ScannedDrive&) const = default;
};

struct ScanResult {
    std::vector<ScannedDrive> drives;       // every drive letter, in the system's order
    std::vector<std::string> installations; // "D:\Windows", in drive order, never the RAM drive
    bool anyFixedDrive = false;             // false: not one fixed drive was met
};

// The RAM drive of a pre-installation environment; never listed.
inline constexpr const char* RamDriveName = "X:";

// "D:" gives "D:\Windows", the installation on that drive.
std::string WindowsFolderOf(const std::string& driveName);

// Reads the drives as they are now. A fixed drive whose root can't be read
// holds no installation; nothing is shown or changed.
ScanResult FindInstallations(ScanServices services);

} // namespace orvanta
