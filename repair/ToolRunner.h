#pragma once
// Runs one external tool at a time and waits for its end while the window
// stays alive.
#include <cstdint>
#include <string>

#include "platform/Processes.h"

namespace orvanta {

struct ToolRun {
    std::string commandLine;
    std::uint32_t exitCode = 0;

    bool operator==(const ToolRun&) const = default;
};

class ToolRunner {
public:
    ToolRunner(Processes& processes, EventPump& events) : processes_(processes), events_(events) {}

    // Starts the command line with a hidden window and returns once the
    // process has ended. Between wake-ups it sleeps on the process and the
    // thread's event queue together; after every wake-up it dispatches the
    // pending window events. Throws PlatformError when the line can't be
    // started, its description naming the program.
    ToolRun run(const std::string& commandLine);

    // Ends the tool that runs now, if any; for an event handler that runs
    // during the wait.
    void stopCurrent();

private:
    Processes& processes_;
    EventPump& events_;
    StartedProcess* current_ = nullptr;
};

// The system's error texts carry inserts such as "%1" for the file name:
// fills "%1" with `first` and drops the others.
std::string FillInserts(const std::string& description, const std::string& first);

} // namespace orvanta
