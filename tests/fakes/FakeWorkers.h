#pragma once
// Workers on a fake clock: each task runs at once on the test's thread, and
// its worker ends when the clock reaches its start plus the time its devices
// took. A device set to never answer stops the task where it is asked; its
// worker never ends, unless the test lets it. The clock only moves in waits
// (to the next end or deadline) and when the test moves it.
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeProcesses.h"
#include "fakes/Journal.h"
#include "platform/threads/Workers.h"

namespace orvanta {

class FakeWorkers : public Workers {
public:
    FakeWorkers(Journal& journal, FakeEventPump& events) : journal_(journal), events_(events) {}

    // The device path's answers come after this long, counted once per task.
    void answersAfter(const std::string& devicePath, std::uint64_t milliseconds) { delays_[devicePath] = milliseconds; }
    // The device answers who it is (the storage property) and then nothing.
    void neverAnswers(const std::string& devicePath) { delays_[devicePath] = Never; }
    // The device answers again at once; workers stuck on it end now.
    void release(const std::string& devicePath) { releaseAfter(devicePath, 0); }
    // The device answers again from now on; workers stuck on it end this much later.
    void releaseAfter(const std::string& devicePath, std::uint64_t milliseconds);
    // Time passes (the user waits).
    void advance(std::uint64_t milliseconds) { now_ += milliseconds; }

    // Called by the fake devices before they answer a request on a path.
    void onRequest(const std::string& devicePath);

    // The most workers ever waited on at once.
    std::size_t mostWaitedOn() const { return mostWaitedOn_; }
    bool noThreads = false; // the system makes no thread

    std::unique_ptr<Worker> start(const std::string& name, std::function<void()> task) override;
    WorkerWake waitForAny(std::span<Worker* const> workers, std::uint64_t deadline) override;
    std::uint64_t milliseconds() override { return now_; }

private:
    static constexpr std::uint64_t Never = std::numeric_limits<std::uint64_t>::max();
    struct Task;
    class FakeWorker;

    Journal& journal_;
    FakeEventPump& events_;
    std::map<std::string, std::uint64_t> delays_;
    std::vector<std::shared_ptr<Task>> tasks_;
    std::shared_ptr<Task> running_; // the task whose work runs now
    std::uint64_t now_ = 0;
    std::size_t mostWaitedOn_ = 0;
};

} // namespace orvanta
