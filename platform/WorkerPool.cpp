#include "platform/WorkerPool.h"

#include <algorithm>
#include <iterator>

namespace orvanta {

WorkerPool::WorkerPool(Workers& workers, EventPump& events, PoolLimits limits)
    : workers_(workers), events_(events), limits_(limits) {}

std::vector<bool> WorkerPool::run(std::vector<PoolJob> jobs) {
    forgetEndedStuck();
    std::vector<bool> ended(jobs.size(), false);
    std::vector<Running> running;
    std::size_t next = 0;
    while (!stopped_) {
        for (; next < jobs.size() && running.size() < limits_.workersAtOnce && !stopped_; ++next) {
            PoolJob& job = jobs[next];
            if (stuck_.count(job.name) != 0) continue;
            std::unique_ptr<Worker> worker = workers_.start(job.name, job.work);
            if (!worker) {
                // No thread to be had: asked on this one, as it always was.
                job.work();
                ended[next] = true;
                continue;
            }
            running.push_back({next, std::move(worker), workers_.milliseconds() + limits_.deadlineMilliseconds});
        }
        if (running.empty()) break;
        waitOnce(running, jobs, ended);
    }
    for (Running& left : running) abandon(left, jobs[left.job].name);
    return ended;
}

void WorkerPool::waitOnce(std::vector<Running>& running, const std::vector<PoolJob>& jobs, std::vector<bool>& ended) {
    std::vector<Worker*> waited;
    std::uint64_t soonest = running.front().deadline;
    for (const Running& each : running) {
        waited.push_back(each.worker.get());
        soonest = std::min(soonest, each.deadline);
    }
    const WorkerWake wake = workers_.waitForAny(waited, soonest);
    if (wake == WorkerWake::EventsPending) {
        events_.dispatchPending();
        return;
    }
    const std::uint64_t now = workers_.milliseconds();
    for (auto each = running.begin(); each != running.end();) {
        if (each->worker->ended()) {
            ended[each->job] = true;
        } else if (wake == WorkerWake::Failed || now >= each->deadline) {
            abandon(*each, jobs[each->job].name);
        } else {
            ++each;
            continue;
        }
        each = running.erase(each);
    }
}

void WorkerPool::abandon(Running& running, const std::string& name) {
    running.worker->askToCancel();
    stuck_[name] = std::move(running.worker);
}

void WorkerPool::forgetEndedStuck() {
    std::erase_if(stuck_, [](const auto& entry) { return entry.second->ended(); });
}

} // namespace orvanta
