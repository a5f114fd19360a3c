#include "discovery/survey/DiskScan.h"

#include "discovery/disks/DeviceQueries.h"

namespace orvanta {
namespace {

// The boot code of an MBR disk, from its first sector.
std::optional<MasterBootCodeKind> MasterBootCodeOf(Devices& devices, DeviceHandle device, const Disk& disk) {
    if (disk.layout.style != PartitionStyle::Mbr) return std::nullopt;
    const std::optional<std::vector<std::uint8_t>> sector = ReadSector(devices, device, 0, disk.sectorSize);
    if (!sector) return std::nullopt;
    return ClassifyMasterBootCode(*sector);
}

std::map<std::uint32_t, BootSectorKind> FirstSectorsOf(Devices& devices, DeviceHandle device, const Disk& disk) {
    std::map<std::uint32_t, BootSectorKind> kinds;
    if (disk.sectorSize == 0) return kinds;
    for (const PartitionRecord& partition : disk.layout.partitions) {
        const std::optional<std::vector<std::uint8_t>> sector = ReadSector(devices, device, partition.offset, disk.sectorSize);
        if (sector) kinds.emplace(partition.number, ClassifyBootSector(*sector));
    }
    return kinds;
}

const DiskAnswer* AnswerOf(const std::vector<DiskAnswer>& answers, std::uint32_t number) {
    for (const DiskAnswer& answer : answers) {
        if (answer.disk && answer.disk->number == number) return &answer;
    }
    return nullptr;
}

} // namespace

DiskAnswer AskDisk(Devices& devices, std::uint32_t number, const std::function<void(const std::string&)>& modelKnown) {
    const OpenDevice device(devices, DiskPath(number));
    if (!device.isOpen()) return {};
    const StorageDescriptor descriptor = DescriptorOf(devices, device.get());
    modelKnown(descriptor.model);
    std::optional<DiskLayout> layout = LayoutOf(devices, device.get());
    if (!layout) return {};
    Disk disk{number, descriptor.busType, std::move(*layout)};
    const std::optional<DiskGeometry> geometry = GeometryOf(devices, device.get());
    if (geometry) disk.sectorSize = geometry->bytesPerSector;
    disk.masterBootCode = MasterBootCodeOf(devices, device.get(), disk);
    std::map<std::uint32_t, BootSectorKind> firstSectors = FirstSectorsOf(devices, device.get(), disk);
    return {std::move(disk), std::move(firstSectors)};
}

void AssignBootSectors(const std::vector<DiskAnswer>& answers, std::vector<ScannedDrive>& drives) {
    for (ScannedDrive& drive : drives) {
        if (drive.type != FixedDriveType || !drive.location) continue;
        const DiskAnswer* answer = AnswerOf(answers, drive.location->disk);
        if (answer == nullptr) continue;
        const auto kind = answer->firstSectors.find(drive.location->partition);
        if (kind != answer->firstSectors.end()) drive.bootSector = kind->second;
    }
}

} // namespace orvanta
