#include "repair/ToolRunner.h"

namespace orvanta {

ToolRun RunTool(Processes& processes, EventPump& events, const std::string& commandLine) {
    const auto process = processes.start(commandLine);
    // The end is recognised from the process itself, not from its exit code,
    // so a tool that ends with code 259 (STILL_ACTIVE) ends the wait too.
    WakeReason reason = WakeReason::EventsPending;
    do {
        reason = process->waitForExitOrEvents();
        events.dispatchPending();
    } while (reason != WakeReason::ProcessEnded);
    return ToolRun{commandLine, process->exitCode()};
}

} // namespace orvanta
