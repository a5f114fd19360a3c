#pragma once
// The program without its window, for scripts: the usage, a list of what it
// finds, the repair the button makes, with the same checks, backups, order
// and log, or its plan, changing nothing, or a kept store put back
// (app/commandline/RestoreCommand.h). Its answer is the exit code, and with /json a
// summary of what it found and did.
#include <atomic>
#include <cstdint>
#include <optional>

#include "app/session/ActiveRepair.h"
#include "app/commandline/CommandLineOptions.h"
#include "app/json/RunSummary.h"
#include "app/session/SessionLog.h"
#include "app/json/SummaryFile.h"
#include "discovery/survey/MachineSurvey.h"
#include "discovery/volumes/SystemPartitionLetter.h"
#include "platform/Platform.h"
#include "platform/text/TextOutput.h"
#include "repair/run/BootEntryOffer.h"
#include "repair/run/RepairRun.h"

namespace orvanta {

// Exit codes, as the usage text gives them.
inline constexpr int RepairedExitCode = 0;
inline constexpr int NotFullyRepairedExitCode = 1;
inline constexpr int RefusedExitCode = 2;
inline constexpr int SystemErrorExitCode = 3;

// One start without the window: the command, and what the console and the
// system tell it meanwhile.
class CommandLineMode {
public:
    CommandLineMode(Platform platform, TextOutput& output);

    // Runs a command other than the window and returns the program's exit code.
    int run(const CommandLineOptions& options);

    // The hidden window that answers the system's session-end questions; the
    // reason for refusing them is set on it while a repair runs.
    void setSessionWindow(std::uintptr_t window) { sessionWindow_ = window; }

    // Ctrl+C or Ctrl+Break reached the console: true ignores it while a repair
    // runs or a restore renames stores, and the first one says why; false lets
    // it end the program. Safe from the console's own thread.
    bool onInterruptRequested();
    // The user asks to log off or shut down, or closes the console: true
    // refuses while the tools run and the old stores lie aside, and while a
    // restore renames stores (which takes far less than the seconds the
    // system waits for the console's closing).
    bool onSessionEndRequested();
    // The session ends, or the console is being closed: the old stores go back
    // and the ESP's letter is taken away before the process is ended; the
    // summary says what was known by then. A request to close only this
    // program changes nothing: it ends by itself.
    void onSessionEnding(SessionEnd end = SessionEnd::SessionEnds);

private:
    int command(const CommandLineOptions& options);
    int list();
    int repair(const CommandLineOptions& options);
    // The steps before the confirmation, shared by the repair and its plan;
    // an exit code when they refuse before there is a plan.
    std::optional<int> planRepair(const CommandLineOptions& options);
    int showPlan();
    int runRepair(const CommandLineOptions& options);
    int restore(const CommandLineOptions& options);
    const MachineSurvey& survey();
    void tellSurvey(bool printed);
    int refuse(SummaryRefusal refusal);
    SummaryRefusal refusalOf(const RepairPlan& plan) const;
    bool bootEntry(bool asked, const BootEntryOffer& offer, const std::string& bootPartition);
    void say(const Message& message);
    // Writes the summary as it stands, when /json asked for one.
    bool publish();

    Platform platform_;
    TextOutput& output_;
    SessionLog log_;
    RunSummary summary_;
    SummaryFile summaryFile_;
    std::string bootPartitionText_; // as given, or the default
    std::optional<SystemPartitionLetter> espLetter_;
    DeviceSurveyor surveyor_; // the same deadlines as the window's
    ActiveRepair activeRepair_;
    std::atomic<bool> interruptRefused_ = false;
    std::atomic<bool> restoring_ = false; // a restore renames stores
    std::uintptr_t sessionWindow_ = 0;
};

// Runs a command other than the window and returns the program's exit code.
int RunCommandLine(const CommandLineOptions& options, Platform platform, TextOutput& output);

// The usage text, exit codes included.
std::string UsageText();

} // namespace orvanta
