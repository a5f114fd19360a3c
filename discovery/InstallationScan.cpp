#include "discovery/InstallationScan.h"

#include "discovery/DeviceQueries.h"
#include "discovery/DriveStrings.h"
#include "platform/CaseBlind.h"
#include "platform/PlatformError.h"
#include "platform/SystemErrors.h"

namespace orvanta {
namespace {

// Whether the drive's root holds a Windows folder; a drive that can't be read
// gets no entry, and one that BitLocker keeps locked is marked.
void LookForWindowsFolder(FileSystem& files, ScannedDrive& drive) {
    try {
        drive.holdsWindows = !files.firstMatch(WindowsFolderOf(drive.name), MatchMask::FilesAndFolders).empty();
    } catch (const PlatformError& error) {
        drive.locked = error.number() == BitLockerLockedVolumeError;
    }
}

} // namespace

bool IsLeftOut(const std::string& windowsFolder, const RunningWindows& running) {
    if (!running.preinstallation || !SameIgnoringCase(windowsFolder, WindowsFolderOf(RamDriveName))) return false;
    return running.windowsFolder.empty() || SameIgnoringCase(running.windowsFolder, windowsFolder);
}

std::string WindowsFolderOf(const std::string& driveName) {
    return driveName + "\\Windows";
}

std::optional<std::uint32_t> DiskOf(const ScanResult& scan, const std::string& windowsFolder) {
    for (const ScannedDrive& drive : scan.drives) {
        if (drive.location && WindowsFolderOf(drive.name) == windowsFolder) return drive.location->disk;
    }
    return std::nullopt;
}

void LocateFixedDrives(Devices& devices, ScanResult& scan) {
    for (ScannedDrive& drive : scan.drives) {
        if (drive.type != FixedDriveType) continue;
        const OpenDevice volume(devices, VolumePath(drive.name));
        if (volume.isOpen()) drive.location = LocationOf(devices, volume.get());
    }
}

ScanResult FindInstallations(ScanServices services, const std::function<RunningWindows()>& running) {
    ScanResult result;
    for (const std::string& name : SplitDriveNames(ReadDriveStrings(services.drives))) {
        ScannedDrive drive;
        drive.name = name;
        drive.type = services.drives.driveType(name);
        if (drive.type == FixedDriveType) {
            // Drives on a USB bus are asked about but still listed: a technician
            // may well be repairing a Windows installed on an external disk.
            drive.busType = DriveBusType(services.devices, name);
            result.anyFixedDrive = true;
        }
        result.drives.push_back(drive);
    }
    // The folder queries follow the bus queries, as a second pass over the
    // fixed drives; the query is made for every fixed drive, the RAM drive included.
    for (ScannedDrive& drive : result.drives) {
        if (drive.type != FixedDriveType) continue;
        LookForWindowsFolder(services.files, drive);
        if (!drive.holdsWindows) continue;
        const std::string folder = WindowsFolderOf(drive.name);
        const bool onRamDriveLetter = SameIgnoringCase(drive.name, RamDriveName);
        if (!onRamDriveLetter || !IsLeftOut(folder, running())) result.installations.push_back(folder);
    }
    return result;
}

} // namespace orvanta
