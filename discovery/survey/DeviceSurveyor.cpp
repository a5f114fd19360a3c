#include "discovery/survey/DeviceSurveyor.h"

#include <atomic>
#include <exception>
#include <memory>

#include "discovery/disks/DeviceQueries.h"

namespace orvanta {

// What a disk's worker writes. The worker shares it, since it may still write
// long after the survey gave up on it; the survey reads the answer only once
// the worker has ended, and the model once it is marked known (the worker
// writes it before and never after).
struct DiskSlot {
    DiskAnswer answer;
    std::string model;
    std::atomic<bool> modelKnown = false;

    std::string modelIfKnown() const { return modelKnown.load(std::memory_order_acquire) ? model : std::string(); }
};

namespace {

// A query that fails outright tells nothing more: the job ends all the same.
template <typename Ask>
void Quietly(Ask&& ask) {
    try {
        ask();
    } catch (const std::exception&) {
        // What the job wrote so far stands.
    }
}

PoolJob DriveJob(ScanServices services, const std::string& name, std::shared_ptr<ScannedDrive> slot) {
    return {name, [services, name, slot] { Quietly([&] { *slot = ScanDrive(services, name); }); }};
}

PoolJob DiskJob(Devices& devices, std::uint32_t number, std::shared_ptr<DiskSlot> slot) {
    return {DiskPath(number), [&devices, number, slot] {
                Quietly([&] {
                    slot->answer = AskDisk(devices, number, [&](const std::string& model) {
                        slot->model = model;
                        slot->modelKnown.store(true, std::memory_order_release);
                    });
                });
            }};
}

} // namespace

DeviceSurveyor::DeviceSurveyor(Workers& workers, EventPump& events, PoolLimits limits) : pool_(workers, events, limits) {}

DeviceAnswers DeviceSurveyor::ask(ScanServices services, const std::vector<std::string>& driveNames) {
    std::vector<PoolJob> jobs;
    std::vector<std::shared_ptr<ScannedDrive>> drives;
    for (const std::string& name : driveNames) {
        drives.push_back(std::make_shared<ScannedDrive>(ScannedDrive{.name = name}));
        jobs.push_back(DriveJob(services, name, drives.back()));
    }
    std::vector<std::shared_ptr<DiskSlot>> disks;
    for (std::uint32_t number = 0; number < DisksToExamine; ++number) {
        disks.push_back(std::make_shared<DiskSlot>());
        jobs.push_back(DiskJob(services.devices, number, disks.back()));
    }
    const std::vector<bool> ended = pool_.run(std::move(jobs));

    DeviceAnswers answers;
    for (std::size_t index = 0; index < drives.size(); ++index) {
        answers.drives.push_back(ended[index] ? *drives[index] : ScannedDrive{.name = driveNames[index], .answered = false});
    }
    for (std::uint32_t number = 0; number < DisksToExamine; ++number) {
        const std::shared_ptr<DiskSlot>& slot = disks[number];
        if (ended[drives.size() + number]) {
            unansweredSlots_.erase(number);
            if (slot->answer.disk) answers.disks.push_back(std::move(slot->answer));
            continue;
        }
        // A job still stuck from before was not started again: its model, if
        // any, is in a slot of an earlier survey.
        std::vector<std::shared_ptr<DiskSlot>>& slots = unansweredSlots_[number];
        slots.push_back(slot);
        std::string model;
        for (auto each = slots.rbegin(); each != slots.rend() && model.empty(); ++each) model = (*each)->modelIfKnown();
        answers.unansweredDisks.push_back({number, model});
    }
    return answers;
}

} // namespace orvanta
