#include "discovery/SystemPartitionLetter.h"

namespace orvanta {

SystemPartitionLetter::SystemPartitionLetter(Drives& drives, const SystemPartition& partition,
                                             const std::vector<ScannedDrive>& scannedDrives)
    : drives_(drives), driveName_(partition.driveName) {
    if (!driveName_.empty()) return;
    const std::string free = FreeDriveName(scannedDrives);
    const std::string device = PartitionDevicePath(partition);
    if (free.empty() || !drives_.mapDrive(free, device)) return;
    driveName_ = free;
    devicePath_ = device;
}

SystemPartitionLetter::~SystemPartitionLetter() {
    release();
}

void SystemPartitionLetter::release() {
    if (!mapped()) return;
    drives_.unmapDrive(driveName_, devicePath_);
    devicePath_.clear();
    driveName_.clear();
}

} // namespace orvanta
