#pragma once
// Jobs that may never end, each on a worker of its own, at most a few at a
// time, each with a deadline counted from its own start. A job past its
// deadline is abandoned: the pool stops counting it, and its name is not
// asked again while its worker is still stuck.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Processes.h"
#include "platform/Workers.h"

namespace orvanta {

struct PoolLimits {
    std::size_t workersAtOnce = 8;
    std::uint64_t deadlineMilliseconds = 10000;
};

// Each disk and each drive has this long, for all its queries together.
inline constexpr PoolLimits SurveyLimits{8, 10000};

struct PoolJob {
    std::string name; // what it asks: a job of a name still stuck is not started
    // Runs on its worker. It must own what it writes (shared with whoever
    // reads it once the job has ended) and must not throw.
    std::function<void()> work;
};

class WorkerPool {
public:
    WorkerPool(Workers& workers, EventPump& events, PoolLimits limits = SurveyLimits);

    // Runs the jobs and returns, in their order, whether each ended within its
    // deadline. Window events are dispatched while it waits. A job whose name
    // is still stuck from an earlier run counts as not ended and is not started.
    std::vector<bool> run(std::vector<PoolJob> jobs);

    // Called from a handler that a wait dispatched (the window is closing):
    // the run in progress returns as soon as that handler has, and no job is
    // started any more.
    void stop() { stopped_ = true; }

private:
    struct Running {
        std::size_t job;
        std::unique_ptr<Worker> worker;
        std::uint64_t deadline;
    };

    void forgetEndedStuck();
    void abandon(Running& running, const std::string& name);
    // One wait, and what it ended: the finished jobs answered, those past
    // their deadline abandoned.
    void waitOnce(std::vector<Running>& running, const std::vector<PoolJob>& jobs, std::vector<bool>& ended);

    Workers& workers_;
    EventPump& events_;
    PoolLimits limits_;
    bool stopped_ = false;
    std::map<std::string, std::unique_ptr<Worker>> stuck_;
};

} // namespace orvanta
