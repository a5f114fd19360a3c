#include "discovery/DiskScan.h"

#include <string>

#include "discovery/DeviceQueries.h"

namespace orvanta {

std::vector<Disk> ScanDisks(Devices& devices) {
    std::vector<Disk> disks;
    for (std::uint32_t number = 0; number < DisksToExamine; ++number) {
        const OpenDevice device(devices, "\\\\.\\PhysicalDrive" + std::to_string(number));
        if (!device.isOpen()) continue;
        std::optional<DiskLayout> layout = LayoutOf(devices, device.get());
        if (!layout) continue;
        disks.push_back({number, BusTypeOf(devices, device.get()), std::move(*layout)});
    }
    return disks;
}

} // namespace orvanta
