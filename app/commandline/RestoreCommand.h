#pragma once
// /restore: lists the kept copies of the boot partition's stores, or puts one
// back (repair/restore/StoreRestore.h) as a repair would change stores: with
// administrator rights, the repair's mutex, the ESP's letter and a log. Its
// answer is the exit code; what it listed or did is its report.
#include <atomic>
#include <functional>
#include <optional>

#include "app/commandline/CommandLineOptions.h"
#include "app/session/SessionLog.h"
#include "discovery/survey/MachineSurvey.h"
#include "discovery/volumes/SystemPartitionLetter.h"
#include "platform/Platform.h"
#include "platform/text/TextOutput.h"
#include "repair/restore/CopyPath.h"
#include "repair/restore/RestoreReport.h"
#include "repair/stores/StoreCheck.h"

namespace orvanta {

class RestoreCommand {
public:
    // `espLetter` is the command line's own, released at its exit; `changing`
    // is set while stores are renamed, for the console's signals to wait.
    RestoreCommand(Platform platform, TextOutput& output, SessionLog& log,
                   std::optional<SystemPartitionLetter>& espLetter, std::atomic<bool>& changing);

    // 0: listed, or put back and the check passed; 1: put back, but the check
    // failed (or a log stayed behind); 2: refused, nothing changed; 3: stopped
    // before the copy was in place.
    int run(const CommandLineOptions& options, const std::function<MachineSurvey()>& survey);

    const RestoreReport& report() const { return report_; }

private:
    // The boot partition from /s, the copy's path or the default; why it can't be used.
    std::optional<RestoreRefusal> settleBootPartition(const CommandLineOptions& options, const std::optional<CopyPath>& copy,
                             const MachineSurvey& found, const std::string& espLetter);
    int list(const std::vector<CheckedInstallation>& installations, const std::string& restoreCommand);
    int putBack(const CopyPath& copy, const MachineSurvey& found, const std::vector<CheckedInstallation>& installations);
    int refuse(RestoreRefusal refusal);
    void say(const Message& message);

    Platform platform_;
    TextOutput& output_;
    SessionLog& log_;
    std::optional<SystemPartitionLetter>& espLetter_;
    std::atomic<bool>& changing_;
    RestoreReport report_;
};

} // namespace orvanta
