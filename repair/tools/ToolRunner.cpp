#include "repair/tools/ToolRunner.h"

#include <cctype>

#include "platform/errors/PlatformError.h"
#include "repair/tools/CommandLines.h"
#include "repair/tools/ToolOutput.h"

namespace orvanta {
namespace {

// Clears the runner's current process on every way out of the wait.
class CurrentProcess {
public:
    CurrentProcess(StartedProcess*& slot, StartedProcess& process) : slot_(slot) { slot_ = &process; }
    ~CurrentProcess() { slot_ = nullptr; }
    CurrentProcess(const CurrentProcess&) = delete;
    CurrentProcess& operator=(const CurrentProcess&) = delete;

private:
    StartedProcess*& slot_;
};

} // namespace

std::string ToolRun::output() const {
    if (standardOutput.empty() || standardError.empty()) return standardOutput + standardError;
    return standardOutput + (standardOutput.back() == '\n' ? "" : "\n") + standardError;
}

ToolRun ToolRunner::run(const std::string& commandLine, const std::function<void()>& whileStarting) {
    ToolRun run{.commandLine = commandLine, .startedAt = clock_.now()};
    const std::uint64_t started = clock_.milliseconds();
    const std::string program = ProgramOf(commandLine);
    std::unique_ptr<StartedProcess> process;
    try {
        process = processes_.start(commandLine, FolderOf(program));
    } catch (const PlatformError& error) {
        run.startError = PlatformError(error.number(), FillInserts(error.description(), program));
        return run;
    }
    const CurrentProcess current(current_, *process);
    if (whileStarting) whileStarting();
    // The end is recognised from the process itself, not from its exit code,
    // so a tool that ends with code 259 (STILL_ACTIVE) ends the wait too.
    WakeReason reason = WakeReason::EventsPending;
    do {
        reason = process->waitForExitOrEvents();
        events_.dispatchPending();
    } while (reason != WakeReason::ProcessEnded);
    run.exitCode = process->exitCode();
    const CapturedOutput output = process->output();
    run.standardOutput = DecodeToolOutput(output.standardOutput, codePage_);
    run.standardError = DecodeToolOutput(output.standardError, codePage_);
    run.milliseconds = clock_.milliseconds() - started;
    return run;
}

bool ToolRunner::stopCurrent(std::uint32_t waitMilliseconds) {
    if (current_ == nullptr) return true;
    current_->terminate(1);
    return current_->waitForExit(waitMilliseconds);
}

std::string FillInserts(const std::string& description, const std::string& first) {
    std::string filled;
    for (std::size_t index = 0; index < description.size(); ++index) {
        const bool insert = description[index] == '%' && index + 1 < description.size() &&
                            std::isdigit(static_cast<unsigned char>(description[index + 1])) != 0;
        if (!insert) {
            filled += description[index];
            continue;
        }
        std::size_t end = index + 1;
        while (end < description.size() && std::isdigit(static_cast<unsigned char>(description[end])) != 0) ++end;
        if (description.compare(index, end - index, "%1") == 0) filled += first;
        index = end - 1;
    }
    return filled;
}

} // namespace orvanta
