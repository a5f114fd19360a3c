#include "fakes/FakeWorkers.h"

#include <algorithm>

namespace orvanta {
namespace {

// Thrown through a task whose device never answers: the rest of its work
// never happens. Not a std::exception, so that no task catches it.
struct StuckForever {};

} // namespace

struct FakeWorkers::Task {
    std::string name;
    std::uint64_t started = 0;
    std::uint64_t spent = 0;              // what its devices took so far
    std::uint64_t endsAt = Never;
    std::vector<std::string> stuckOn;     // the device it waits on for ever
};

class FakeWorkers::FakeWorker : public Worker {
public:
    FakeWorker(FakeWorkers& owner, std::shared_ptr<Task> task) : owner_(owner), task_(std::move(task)) {}
    bool ended() override { return task_->endsAt <= owner_.now_; }
    void askToCancel() override { owner_.journal_.add("cancel " + task_->name); }
    const Task& task() const { return *task_; }

private:
    FakeWorkers& owner_;
    std::shared_ptr<Task> task_;
};

void FakeWorkers::onRequest(const std::string& devicePath) {
    const auto delay = delays_.find(devicePath);
    if (!running_ || delay == delays_.end()) return;
    if (delay->second == Never) {
        running_->stuckOn.push_back(devicePath);
        throw StuckForever{};
    }
    // Once per task: the device is slow to start answering, then answers.
    if (std::find(running_->stuckOn.begin(), running_->stuckOn.end(), devicePath) != running_->stuckOn.end()) return;
    running_->stuckOn.push_back(devicePath);
    running_->spent += delay->second;
}

void FakeWorkers::releaseAfter(const std::string& devicePath, std::uint64_t milliseconds) {
    delays_.erase(devicePath);
    for (const std::shared_ptr<Task>& task : tasks_) {
        if (task->endsAt == Never && !task->stuckOn.empty() && task->stuckOn.back() == devicePath) {
            task->endsAt = now_ + milliseconds;
        }
    }
}

std::unique_ptr<Worker> FakeWorkers::start(const std::string& name, std::function<void()> task) {
    if (noThreads) return nullptr;
    auto record = std::make_shared<Task>();
    record->name = name;
    record->started = now_;
    tasks_.push_back(record);
    running_ = record;
    try {
        task();
        record->endsAt = now_ + record->spent;
    } catch (const StuckForever&) {
        record->endsAt = Never;
    }
    running_.reset();
    return std::make_unique<FakeWorker>(*this, record);
}

WorkerWake FakeWorkers::waitForAny(std::span<Worker* const> workers, std::uint64_t deadline) {
    mostWaitedOn_ = std::max(mostWaitedOn_, workers.size());
    if (events_.pending()) return WorkerWake::EventsPending;
    std::uint64_t soonest = Never;
    for (Worker* worker : workers) soonest = std::min(soonest, static_cast<FakeWorker*>(worker)->task().endsAt);
    if (soonest <= deadline) {
        now_ = std::max(now_, soonest);
        return WorkerWake::Ended;
    }
    now_ = std::max(now_, deadline);
    return WorkerWake::DeadlinePassed;
}

} // namespace orvanta
