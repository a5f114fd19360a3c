#pragma once
// Jobs that may never end, each on a worker of its own, at most a few at a
// time, each with a deadline counted from its own start. A job past its
// deadline is abandoned: the pool stops counting it, and its name is not
// asked again while its worker is still stuck. A later run waits for that
// worker within the job's deadline and, once it has ended, asks again.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/threads/Processes.h"
#include "platform/threads/Workers.h"

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
    // is still stuck from an earlier run is started only once that worker has
    // ended, within the job's deadline; otherwise it counts as not ended.
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

    // A job waiting for its name's stuck worker to end.
    struct StuckWait {
        std::size_t job;
        Worker* worker; // owned by stuck_
        std::uint64_t deadline;
    };

    void forgetEndedStuck();
    void abandon(Running& running, const std::string& name);
    void startPending(std::vector<PoolJob>& jobs, std::deque<std::size_t>& pending, std::vector<Running>& running,
                      std::vector<StuckWait>& waiting, std::vector<bool>& ended);
    // One wait, and what it ended: the finished jobs answered, those past
    // their deadline abandoned, those whose stuck worker ended back to start.
    void waitOnce(std::vector<Running>& running, std::vector<StuckWait>& waiting, std::deque<std::size_t>& pending,
                  const std::vector<PoolJob>& jobs, std::vector<bool>& ended);

    Workers& workers_;
    EventPump& events_;
    PoolLimits limits_;
    bool stopped_ = false;
    std::map<std::string, std::unique_ptr<Worker>> stuck_;
};

} // namespace orvanta
