#include "discovery/volumes/SystemPartitionLetter.h"

#include "platform/text/CaseBlind.h"

namespace orvanta {
namespace {

// A letter that names the partition's device itself, not its volume, was
// given by a program for its session only, such as another Orvanta: it goes
// when that program ends, so this one gives a letter of its own.
bool IsAnotherProgramsLetter(Drives& drives, const std::string& driveName, const std::string& device) {
    const std::vector<std::string> names = drives.deviceNamesOf(driveName);
    return !names.empty() && SameIgnoringCase(names.front(), device);
}

} // namespace

SystemPartitionLetter::SystemPartitionLetter(Drives& drives, const SystemPartition& partition,
                                             const std::vector<ScannedDrive>& scannedDrives)
    : drives_(drives), driveName_(partition.driveName) {
    const std::string device = PartitionDevicePath(partition);
    if (!driveName_.empty() && !IsAnotherProgramsLetter(drives_, driveName_, device)) return;
    driveName_.clear();
    const std::string free = FreeDriveName(scannedDrives);
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
