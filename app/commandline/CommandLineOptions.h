#pragma once
// The program's command line: nothing opens the window; /?, /list, /repair
// or /restore with their switches run without one, /repair /plan only
// shows what it would do, and /json writes a summary for scripts beside the
// console's text.
#include <optional>
#include <string>
#include <vector>

namespace orvanta {

enum class CommandKind { Window, Usage, List, Repair, Restore };

// The one argument the restart that asks for administrator rights passes: the
// new instance opens its window as always and knows it was restarted. Not a
// command, not in the usage.
inline constexpr const char* ElevatedRestartMarker = "--orvanta-restarted-elevated";

struct CommandLineOptions {
    CommandKind kind = CommandKind::Window;
    std::optional<std::string> bootPartition;       // /s X:
    std::optional<std::string> defaultInstallation; // /default X:\Windows
    bool noDefault = false;                         // /nodefault
    std::optional<std::string> logPath;             // /log FILE
    bool writeBootEntry = false;                    // /fwentry: write the firmware's boot entry when it is missing
    bool plan = false;                              // /plan: with /repair, everything up to the run, changing nothing
    std::optional<std::string> jsonPath;            // /json FILE: the summary for scripts, with /list, /repair or /restore
    std::optional<std::string> restoreCopy;         // /restore's one argument: the kept copy to put back
    bool restartedElevated = false;                 // the window, started by the restart
    std::string error; // why the arguments can't be used; the rest is then meaningless
};

// The arguments after the program's name. Switches are case-insensitive and
// start with / or -.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace orvanta
