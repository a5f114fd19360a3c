#include "platform/threads/WorkerPool.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <numeric>

namespace orvanta {

WorkerPool::WorkerPool(Workers& workers, EventPump& events, PoolLimits limits)
    : workers_(workers), events_(events), limits_(limits) {}

std::vector<bool> WorkerPool::run(std::vector<PoolJob> jobs) {
    forgetEndedStuck();
    std::vector<bool> ended(jobs.size(), false);
    std::vector<Running> running;
    std::vector<StuckWait> waiting;
    std::deque<std::size_t> pending(jobs.size());
    std::iota(pending.begin(), pending.end(), std::size_t{0});
    while (!stopped_) {
        startPending(jobs, pending, running, waiting, ended);
        if (running.empty() && waiting.empty()) break;
        waitOnce(running, waiting, pending, jobs, ended);
    }
    for (Running& left : running) abandon(left, jobs[left.job].name);
    return ended;
}

// Starts what may start, up to the limit. A job whose name is still stuck
// from an earlier run waits for that worker instead, with its own deadline
// counted from now: the device isn't asked again while a request of ours
// still hangs on it, but one that has woken up meanwhile is asked afresh.
void WorkerPool::startPending(std::vector<PoolJob>& jobs, std::deque<std::size_t>& pending,
                              std::vector<Running>& running, std::vector<StuckWait>& waiting,
                              std::vector<bool>& ended) {
    while (!pending.empty() && running.size() < limits_.workersAtOnce && !stopped_) {
        const std::size_t next = pending.front();
        pending.pop_front();
        PoolJob& job = jobs[next];
        if (const auto stuck = stuck_.find(job.name); stuck != stuck_.end()) {
            waiting.push_back({next, stuck->second.get(), workers_.milliseconds() + limits_.deadlineMilliseconds});
            continue;
        }
        std::unique_ptr<Worker> worker = workers_.start(job.name, job.work);
        if (!worker) {
            // No thread to be had: asked on this one, as it always was.
            job.work();
            ended[next] = true;
            continue;
        }
        running.push_back({next, std::move(worker), workers_.milliseconds() + limits_.deadlineMilliseconds});
    }
}

void WorkerPool::waitOnce(std::vector<Running>& running, std::vector<StuckWait>& waiting,
                          std::deque<std::size_t>& pending, const std::vector<PoolJob>& jobs,
                          std::vector<bool>& ended) {
    // The jobs that run first: the system waits on a limited number at once.
    std::vector<Worker*> waited;
    std::uint64_t soonest = std::numeric_limits<std::uint64_t>::max();
    for (const Running& each : running) {
        waited.push_back(each.worker.get());
        soonest = std::min(soonest, each.deadline);
    }
    for (const StuckWait& each : waiting) {
        waited.push_back(each.worker);
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
    for (auto each = waiting.begin(); each != waiting.end();) {
        if (each->worker->ended()) {
            stuck_.erase(jobs[each->job].name);
            pending.push_front(each->job);
        } else if (wake != WorkerWake::Failed && now < each->deadline) {
            ++each;
            continue;
        }
        each = waiting.erase(each);
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
