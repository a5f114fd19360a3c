#pragma once
// The ESP's drive letter for as long as the program needs it: the letter it
// has, or a free one given to it for this session, taken away again when the
// owner goes (or at the latest when the PC restarts). A letter another
// program gave it for its own session is not relied on: it may go at any time.
#include <string>
#include <vector>

#include "discovery/volumes/SystemPartition.h"
#include "platform/disks/Drives.h"

namespace orvanta {

class SystemPartitionLetter {
public:
    SystemPartitionLetter(Drives& drives, const SystemPartition& partition,
                          const std::vector<ScannedDrive>& scannedDrives);
    ~SystemPartitionLetter();
    SystemPartitionLetter(const SystemPartitionLetter&) = delete;
    SystemPartitionLetter& operator=(const SystemPartitionLetter&) = delete;

    // "S:"; "" when the partition has none and none could be given.
    const std::string& driveName() const { return driveName_; }
    // True when this owner gave the letter and will take it away.
    bool mapped() const { return !devicePath_.empty(); }
    // Takes a letter this owner gave away now; the letter is gone afterwards.
    void release();

private:
    Drives& drives_;
    std::string driveName_;
    std::string devicePath_; // set while a mapping of ours exists
};

} // namespace orvanta
