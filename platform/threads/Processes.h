#pragma once
// Starting an external program and waiting for it without busy polling.
#include <cstdint>
#include <memory>
#include <string>

namespace orvanta {

// What GetExitCodeProcess answers while a process runs; a tool may end with it too.
inline constexpr std::uint32_t StillActiveExitCode = 259;

// What a process wrote to its standard output and standard error, byte for
// byte, in whatever encoding it chose.
struct CapturedOutput {
    std::string standardOutput;
    std::string standardError;
};

// What ended one blocking wait.
enum class WakeReason { ProcessEnded, EventsPending };

class StartedProcess {
public:
    // Releases the process handle.
    virtual ~StartedProcess() = default;

    // Blocks until the process has ended or window events are pending for the
    // thread, whichever comes first. Never returns without one of the two.
    virtual WakeReason waitForExitOrEvents() = 0;

    // The exit code; meaningful once the process has ended.
    virtual std::uint32_t exitCode() = 0;

    // Starts ending the process, with the given exit code; it may still run
    // (and hold its files) for a while.
    virtual void terminate(std::uint32_t exitCode) = 0;

    // Waits at most this long for the process to end; true once it has.
    virtual bool waitForExit(std::uint32_t milliseconds) = 0;

    // What the process wrote; complete once it has ended.
    virtual CapturedOutput output() = 0;
};

class Processes {
public:
    virtual ~Processes() = default;
    // Starts the command line hidden, with no console window, in the working
    // folder, without waiting. Its standard output and error are captured; it
    // inherits no other handle. Throws PlatformError when it can't be started.
    virtual std::unique_ptr<StartedProcess> start(const std::string& commandLine,
                                                  const std::string& workingFolder) = 0;
};

// Dispatches every window event pending for the thread and returns as soon as
// none is left; never waits for one.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void dispatchPending() = 0;
};

} // namespace orvanta
