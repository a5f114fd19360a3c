#pragma once
// Tasks on threads of their own, and the wait for them that keeps the window
// answering: what lets a disk that doesn't answer hold up only its own thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace orvanta {

// One task on a thread of its own.
class Worker {
public:
    // Lets go of the thread without waiting for it: a task still running goes
    // on (or stays stuck in the system) until it ends by itself.
    virtual ~Worker() = default;
    // Whether the task has ended; never waits.
    virtual bool ended() = 0;
    // Asks the system to cancel the request the thread is blocked in. Only a
    // request: disk drivers often finish it anyway, or never.
    virtual void askToCancel() = 0;
};

// What ended one wait.
enum class WorkerWake { Ended, DeadlinePassed, EventsPending, Failed };

class Workers {
public:
    virtual ~Workers() = default;

    // Starts the task on a new thread; `name` says what it asks ("D:",
    // "\\.\PhysicalDrive1"). The task belongs to the thread: it, and all it
    // holds, lives until the task ends, however long after its Worker is gone;
    // it must not throw. Nothing when no thread could be made.
    virtual std::unique_ptr<Worker> start(const std::string& name, std::function<void()> task) = 0;

    // Sleeps until one of the workers has ended, the clock of milliseconds()
    // has reached the deadline, or window events are pending for this thread,
    // whichever comes first. Failed: the wait itself failed, and waiting again
    // would fail the same way.
    virtual WorkerWake waitForAny(std::span<Worker* const> workers, std::uint64_t deadline) = 0;

    // Milliseconds on a monotonic clock, the one deadlines are on: it goes on
    // whatever the time of day does (a dead clock battery, a change by hand).
    virtual std::uint64_t milliseconds() = 0;
};

} // namespace orvanta
