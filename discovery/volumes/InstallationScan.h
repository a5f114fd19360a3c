#pragma once
// Finding the Windows installations: every fixed drive that holds a Windows
// folder in its root. Each drive letter is asked on its own, so that one that
// doesn't answer holds up nothing else.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "discovery/volumes/BootSector.h"
#include "discovery/disks/DiskRecords.h"
#include "platform/disks/Devices.h"
#include "platform/disks/Drives.h"
#include "platform/files/FileSystem.h"

namespace orvanta {

struct ScanServices {
    Drives& drives;
    Devices& devices;
    FileSystem& files;
};

// One drive letter as the scan saw it.
struct ScannedDrive {
    std::string name;          // "C:"
    std::uint32_t type = 0;    // GetDriveType's answer
    // Asked of fixed drives only:
    std::uint32_t busType = 0;                             // 0 unknown
    std::optional<VolumeLocation> location = std::nullopt; // its disk and partition, once located
    bool holdsWindows = false;
    bool locked = false; // BitLocker keeps the volume locked: its Windows folder can't be looked for
    // What its first sector holds, read through its disk; nothing when it lies on
    // no disk that answered, or the sector couldn't be read.
    std::optional<BootSectorKind> bootSector = std::nullopt;
    // False: it didn't answer in time, and nothing but its name is known.
    bool answered = true;

    bool operator==(const ScannedDrive&) const = default;
};

struct ScanResult {
    std::vector<ScannedDrive> drives;       // every drive letter, in the system's order
    std::vector<std::string> installations; // "D:\Windows", in drive order, never WinPE's own
    bool anyFixedDrive = false;             // false: not one fixed drive was met (nor one that didn't answer)
};

// The RAM drive of a pre-installation environment, which holds its own Windows.
inline constexpr const char* RamDriveName = "X:";

// The system the program runs on, as far as the scan needs it.
struct RunningWindows {
    bool preinstallation = false; // a pre-installation environment (WinPE)
    std::string windowsFolder;    // its Windows folder ("X:\Windows" in WinPE); "" when not told
};

// Whether an installation found ("X:\Windows") is left out of the list: only
// in a pre-installation environment, and there only X:\Windows as its own
// Windows folder (or when it didn't tell its folder). On a full Windows X: is
// a drive like any other.
bool IsLeftOut(const std::string& windowsFolder, const RunningWindows& running);

// "D:" gives "D:\Windows", the installation on that drive.
std::string WindowsFolderOf(const std::string& driveName);

// The disk of the installation in a Windows folder such as "D:\Windows";
// nothing when the scan could not tell.
std::optional<std::uint32_t> DiskOf(const ScanResult& scan, const std::string& windowsFolder);

// Asks one drive letter as it is now: its type and, for a fixed drive, its
// bus, which disk and partition its volume lies on, and whether its root
// holds a Windows folder. One whose root can't be read holds no installation;
// one that BitLocker keeps locked is marked so. Nothing is shown or changed.
ScannedDrive ScanDrive(ScanServices services, const std::string& name);

// The drives as asked, in the system's order, and the installations on them.
// The running system is asked about only when X: holds a Windows folder.
ScanResult ScanResultOf(std::vector<ScannedDrive> drives, const std::function<RunningWindows()>& running);

} // namespace orvanta
