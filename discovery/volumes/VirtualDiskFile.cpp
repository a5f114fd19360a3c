#include "discovery/volumes/VirtualDiskFile.h"

#include "discovery/disks/DeviceQueries.h"
#include "discovery/volumes/DrivePlace.h"

namespace orvanta {
namespace {

// "\\?\Volume{…}\" gives "\\.\Volume{…}", the volume's device.
std::string VolumeDevicePath(std::string volumeName) {
    if (volumeName.starts_with("\\\\?\\")) volumeName.replace(0, 4, "\\\\.\\");
    if (!volumeName.empty() && volumeName.back() == '\\') volumeName.pop_back();
    return volumeName;
}

// The partition identity of the volume a file lies on; nothing when it
// can't be opened or lies on no disk that answered.
std::optional<PartitionIdentity> HostIdentity(Devices& devices, const std::string& hostVolume,
                                              const std::vector<Disk>& disks) {
    if (hostVolume.empty()) return std::nullopt;
    const OpenDevice volume(devices, VolumeDevicePath(hostVolume));
    if (!volume.isOpen()) return std::nullopt;
    const std::optional<VolumeLocation> location = LocationOf(devices, volume.get());
    return location ? IdentityOf(disks, location->disk, location->partition) : std::nullopt;
}

// A path from the root of its partition, as boot entries write it.
std::string FromRoot(const std::string& path) {
    return path.empty() || path.front() == '\\' ? path : "\\" + path;
}

} // namespace

std::map<std::string, VirtualDiskFile> FindVirtualDiskFiles(VirtualDisks& virtualDisks, Devices& devices,
                                                            const ScanResult& scan, const std::vector<Disk>& disks) {
    std::map<std::string, VirtualDiskFile> files;
    for (const std::string& installation : scan.installations) {
        const std::string driveName = installation.substr(0, 2);
        const VirtualDiskLookup lookup = virtualDisks.fileBehind(driveName);
        if (lookup.answer == VirtualDiskLookup::Answer::Found) {
            files[installation] = {HostIdentity(devices, lookup.hostVolume, disks), FromRoot(lookup.path)};
            continue;
        }
        const ScannedDrive* drive = FindDrive(scan.drives, driveName);
        const bool virtualBus = drive != nullptr && drive->busType == FileBackedVirtualBusType;
        if (lookup.answer == VirtualDiskLookup::Answer::CantTell && virtualBus) files[installation] = {};
    }
    return files;
}

} // namespace orvanta
