#include "discovery/volumes/InstallationScan.h"

#include "discovery/disks/DeviceQueries.h"
#include "platform/text/CaseBlind.h"
#include "platform/errors/PlatformError.h"
#include "platform/errors/SystemErrors.h"

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

// Which disk and partition the drive's volume lies on: what names the ESP's
// letter and where the volume's first sector is read.
std::optional<VolumeLocation> LocationOfDrive(Devices& devices, const std::string& name) {
    const OpenDevice volume(devices, VolumePath(name));
    return volume.isOpen() ? LocationOf(devices, volume.get()) : std::nullopt;
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

ScannedDrive ScanDrive(ScanServices services, const std::string& name) {
    ScannedDrive drive;
    drive.name = name;
    drive.type = services.drives.driveType(name);
    if (drive.type != FixedDriveType) return drive;
    // Drives on a USB bus are asked about but still listed: a technician
    // may well be repairing a Windows installed on an external disk.
    drive.busType = DriveBusType(services.devices, name);
    drive.location = LocationOfDrive(services.devices, name);
    // The query is made for every fixed drive, the RAM drive included.
    LookForWindowsFolder(services.files, drive);
    return drive;
}

ScanResult ScanResultOf(std::vector<ScannedDrive> drives, const std::function<RunningWindows()>& running) {
    ScanResult result;
    result.drives = std::move(drives);
    for (const ScannedDrive& drive : result.drives) {
        if (drive.type == FixedDriveType || !drive.answered) result.anyFixedDrive = true;
        if (!drive.holdsWindows) continue;
        const std::string folder = WindowsFolderOf(drive.name);
        const bool onRamDriveLetter = SameIgnoringCase(drive.name, RamDriveName);
        if (!onRamDriveLetter || !IsLeftOut(folder, running())) result.installations.push_back(folder);
    }
    return result;
}

} // namespace orvanta
