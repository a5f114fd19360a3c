#include "discovery/ModFindWindows.h"

#include <vector>

#include "discovery/DriveBus.h"
#include "discovery/DriveStrings.h"
#include "platform/PlatformError.h"

namespace orvanta {
namespace {

std::vector<std::string> FixedDriveNames(ScanServices& services) {
    std::vector<std::string> fixed;
    for (const std::string& name : SplitDriveNames(ReadDriveStrings(services.drives))) {
        if (services.drives.driveType(name) != DriveFixed) continue;
        // Drives on a USB bus are asked about but still listed: a technician
        // may well be repairing a Windows installed on an external disk.
        DriveBusTag(services.devices, name);
        fixed.push_back(name);
    }
    return fixed;
}

bool HoldsWindowsFolder(FileSystem& files, const std::string& driveName) {
    try {
        return !files.firstMatch(SystemListEntry(driveName), Directories).empty();
    } catch (const PlatformError&) {
        return false; // a drive that can't be read gets no entry
    }
}

} // namespace

std::string SystemListEntry(const std::string& driveName) {
    return driveName + "\\Windows";
}

void ScanSystems(ScanServices services, ComboBox& RDriver) {
    RDriver.clear();
    const std::vector<std::string> fixed = FixedDriveNames(services);
    if (fixed.empty()) {
        services.messages.show("未发现任何磁盘或光驱", "Error!", StyleInformation);
        return;
    }
    for (const std::string& name : fixed) {
        // The query is made for every fixed drive, the RAM drive included.
        const bool found = HoldsWindowsFolder(services.files, name);
        if (found && name != RamDriveName) RDriver.add(SystemListEntry(name));
    }
}

} // namespace orvanta
