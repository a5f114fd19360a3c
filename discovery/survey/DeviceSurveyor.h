#pragma once
// Every drive letter and every disk asked on a worker of its own, so that one
// that doesn't answer holds up only itself: what came back within each one's
// deadline, and what didn't.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "discovery/survey/DiskScan.h"
#include "discovery/volumes/InstallationScan.h"
#include "platform/threads/WorkerPool.h"

namespace orvanta {

// A disk that didn't answer within its deadline.
struct UnansweredDisk {
    std::uint32_t number = 0;
    std::string model; // its product id, when it gave it before it went quiet

    bool operator==(const UnansweredDisk&) const = default;
};

struct DeviceAnswers {
    // Every drive letter, in the system's order; one that didn't answer has
    // only its name, and `answered` false.
    std::vector<ScannedDrive> drives;
    std::vector<DiskAnswer> disks; // those that answered and gave their layout, in number order
    std::vector<UnansweredDisk> unansweredDisks;
};

struct DiskSlot;

// Asks each drive letter (ScanDrive) and each disk (AskDisk) on a worker of
// its own, survey after survey. A drive or disk still stuck from an earlier
// survey is not asked again and counts as not answering, named by the model
// it gave then (or since).
class DeviceSurveyor {
public:
    DeviceSurveyor(Workers& workers, EventPump& events, PoolLimits limits = SurveyLimits);
    DeviceAnswers ask(ScanServices services, const std::vector<std::string>& driveNames);
    // From a handler that the wait dispatched: the survey in progress gives
    // up at once, and none starts any more.
    void stop() { pool_.stop(); }

private:
    WorkerPool pool_;
    // What the workers of the disks that didn't answer write into, newest
    // last: one may say its model yet, and the survey names the disk by it.
    std::map<std::uint32_t, std::vector<std::shared_ptr<DiskSlot>>> unansweredSlots_;
};

} // namespace orvanta
