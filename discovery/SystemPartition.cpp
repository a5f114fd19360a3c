#include "discovery/SystemPartition.h"

#include <algorithm>

#include "discovery/DeviceQueries.h"
#include "discovery/StorageRecords.h"

namespace orvanta {
namespace {

std::string LetterOf(const std::vector<ScannedDrive>& drives, std::uint32_t disk, std::uint32_t partition) {
    for (const ScannedDrive& drive : drives) {
        if (drive.location == VolumeLocation{disk, partition}) return drive.name;
    }
    return {};
}

bool IsInUse(const std::vector<ScannedDrive>& drives, const std::string& name) {
    return std::any_of(drives.begin(), drives.end(), [&](const ScannedDrive& drive) {
        return drive.name.size() == 2 && (drive.name[0] & ~0x20) == name[0];
    });
}

} // namespace

std::vector<SystemPartition> FindSystemPartitions(Devices& devices) {
    std::vector<SystemPartition> found;
    for (std::uint32_t disk = 0; disk < DisksToExamine; ++disk) {
        const OpenDevice device(devices, "\\\\.\\PhysicalDrive" + std::to_string(disk));
        if (!device.isOpen()) continue;
        const std::vector<PartitionRecord> partitions = PartitionsOf(devices, device.get());
        const bool any = std::any_of(partitions.begin(), partitions.end(),
                                     [](const PartitionRecord& partition) { return partition.systemPartition; });
        if (!any) continue;
        const std::uint32_t bus = BusTypeOf(devices, device.get());
        for (const PartitionRecord& partition : partitions) {
            if (!partition.systemPartition) continue;
            found.push_back({disk, partition.number, bus, ""});
        }
    }
    return found;
}

void NameSystemPartitions(std::vector<SystemPartition>& partitions, const std::vector<ScannedDrive>& drives) {
    for (SystemPartition& partition : partitions) partition.driveName = LetterOf(drives, partition.disk, partition.partition);
}

std::optional<SystemPartition> ChooseSystemPartition(const std::vector<SystemPartition>& partitions,
                                                     std::optional<std::uint32_t> defaultDisk) {
    const auto onDefaultDisk = std::find_if(partitions.begin(), partitions.end(), [&](const SystemPartition& esp) {
        return defaultDisk && esp.disk == *defaultDisk;
    });
    if (onDefaultDisk != partitions.end()) return *onDefaultDisk;
    const auto internal = std::find_if(partitions.begin(), partitions.end(),
                                       [](const SystemPartition& esp) { return esp.busType != UsbBusType; });
    if (internal != partitions.end()) return *internal;
    return std::nullopt;
}

std::string PartitionDevicePath(const SystemPartition& partition) {
    return "\\Device\\Harddisk" + std::to_string(partition.disk) + "\\Partition" +
           std::to_string(partition.partition);
}

std::string FreeDriveName(const std::vector<ScannedDrive>& drives) {
    for (char letter = 'Z'; letter >= 'C'; --letter) {
        const std::string name{letter, ':'};
        if (letter != 'X' && !IsInUse(drives, name)) return name;
    }
    return {};
}

} // namespace orvanta
