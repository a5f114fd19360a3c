#include "discovery/volumes/SystemPartition.h"

#include <algorithm>

#include "discovery/disks/StorageRecords.h"

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

std::vector<SystemPartition> FindSystemPartitions(const std::vector<Disk>& disks) {
    std::vector<SystemPartition> found;
    for (const Disk& disk : disks) {
        for (const PartitionRecord& partition : disk.layout.partitions) {
            if (partition.systemPartition) {
                found.push_back({disk.number, partition.number, disk.busType, "", partition.length});
            }
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

SystemPartitionReason ReasonForChoice(const std::optional<SystemPartition>& chosen,
                                      std::optional<std::uint32_t> defaultDisk) {
    if (!chosen) return SystemPartitionReason::None;
    return defaultDisk == chosen->disk ? SystemPartitionReason::OnDefaultDisk : SystemPartitionReason::FirstNotOnUsb;
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
