#pragma once
// Runs one external tool and waits for its end while the window stays alive.
#include <cstdint>
#include <string>

#include "platform/Processes.h"

namespace orvanta {

struct ToolRun {
    std::string commandLine;
    std::uint32_t exitCode = 0;

    bool operator==(const ToolRun&) const = default;
};

// Starts the command line with a hidden window and returns once the process
// has ended. Between wake-ups it sleeps on the process and the thread's event
// queue together; after every wake-up it dispatches the pending window
// events. Throws PlatformError when the line can't be started.
ToolRun RunTool(Processes& processes, EventPump& events, const std::string& commandLine);

} // namespace orvanta
