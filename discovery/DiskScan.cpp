#include "discovery/DiskScan.h"

#include <algorithm>

#include "discovery/DeviceQueries.h"

namespace orvanta {
namespace {

bool LiesOn(const ScannedDrive& drive, const Disk& disk) {
    return drive.type == FixedDriveType && drive.location && drive.location->disk == disk.number &&
           PartitionOf(disk, drive.location->partition) != nullptr;
}

// The boot code of an MBR disk, from its first sector.
std::optional<MasterBootCodeKind> MasterBootCodeOf(Devices& devices, DeviceHandle device, const Disk& disk) {
    if (disk.layout.style != PartitionStyle::Mbr) return std::nullopt;
    const std::optional<std::vector<std::uint8_t>> sector = ReadSector(devices, device, 0, disk.sectorSize);
    if (!sector) return std::nullopt;
    return ClassifyMasterBootCode(*sector);
}

void ReadBootSectorsOn(Devices& devices, const Disk& disk, std::vector<ScannedDrive>& drives) {
    if (disk.sectorSize == 0) return;
    if (std::none_of(drives.begin(), drives.end(), [&](const ScannedDrive& drive) { return LiesOn(drive, disk); })) {
        return;
    }
    const OpenDevice device(devices, DiskPath(disk.number));
    if (!device.isOpen()) return;
    for (ScannedDrive& drive : drives) {
        if (!LiesOn(drive, disk)) continue;
        const std::uint64_t offset = PartitionOf(disk, drive.location->partition)->offset;
        const std::optional<std::vector<std::uint8_t>> sector = ReadSector(devices, device.get(), offset, disk.sectorSize);
        if (sector) drive.bootSector = ClassifyBootSector(*sector);
    }
}

} // namespace

std::vector<Disk> ScanDisks(Devices& devices) {
    std::vector<Disk> disks;
    for (std::uint32_t number = 0; number < DisksToExamine; ++number) {
        const OpenDevice device(devices, DiskPath(number));
        if (!device.isOpen()) continue;
        std::optional<DiskLayout> layout = LayoutOf(devices, device.get());
        if (!layout) continue;
        Disk disk{number, BusTypeOf(devices, device.get()), std::move(*layout)};
        const std::optional<DiskGeometry> geometry = GeometryOf(devices, device.get());
        if (geometry) disk.sectorSize = geometry->bytesPerSector;
        disk.masterBootCode = MasterBootCodeOf(devices, device.get(), disk);
        disks.push_back(std::move(disk));
    }
    return disks;
}

void ReadBootSectors(Devices& devices, const std::vector<Disk>& disks, std::vector<ScannedDrive>& drives) {
    for (const Disk& disk : disks) ReadBootSectorsOn(devices, disk, drives);
}

} // namespace orvanta
