#pragma once
// Runs one external tool at a time and waits for its end while the window
// stays alive; keeps what the tool wrote.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/threads/Clock.h"
#include "platform/text/ConsoleCodePage.h"
#include "platform/errors/PlatformError.h"
#include "platform/threads/Processes.h"

namespace orvanta {

struct ToolRun {
    std::string commandLine;
    std::uint32_t exitCode = 0;
    std::optional<PlatformError> startError = std::nullopt; // set when it could not be started at all
    std::string standardOutput = {};         // decoded as UTF-8
    std::string standardError = {};
    LocalTime startedAt = {};
    std::uint64_t milliseconds = 0;

    bool succeeded() const { return !startError && exitCode == 0; }
    // Its standard output, then its standard error.
    std::string output() const;
};

class ToolRunner {
public:
    ToolRunner(Processes& processes, EventPump& events, ConsoleCodePage& codePage, Clock& clock)
        : processes_(processes), events_(events), codePage_(codePage), clock_(clock) {}

    // Starts the command line hidden, in its program's folder, and returns
    // once the process has ended. Between wake-ups it sleeps on the process
    // and the thread's event queue together; after every wake-up it
    // dispatches the pending window events. A tool that can't be started
    // gives a run with its start error, the description naming the program.
    // `whileStarting` runs once the process exists, before the wait.
    ToolRun run(const std::string& commandLine, const std::function<void()>& whileStarting = {});

    // Ends the tool that runs now, if any, and waits at most this long for
    // it to be gone; for an event handler that runs during the wait. False
    // when it still runs.
    bool stopCurrent(std::uint32_t waitMilliseconds);

private:
    Processes& processes_;
    EventPump& events_;
    ConsoleCodePage& codePage_;
    Clock& clock_;
    StartedProcess* current_ = nullptr;
};

// The system's error texts carry inserts such as "%1" for the file name:
// fills "%1" with `first` and drops the others.
std::string FillInserts(const std::string& description, const std::string& first);

} // namespace orvanta
