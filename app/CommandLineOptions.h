#pragma once
// The program's command line: nothing opens the window; /?, /list or /repair
// with its switches run without one.
#include <optional>
#include <string>
#include <vector>

namespace orvanta {

enum class CommandKind { Window, Usage, List, Repair };

struct CommandLineOptions {
    CommandKind kind = CommandKind::Window;
    std::optional<std::string> bootPartition;       // /s X:
    std::optional<std::string> defaultInstallation; // /default X:\Windows
    bool noDefault = false;                         // /nodefault
    std::optional<std::string> logPath;             // /log FILE
    std::string error; // why the arguments can't be used; the rest is then meaningless
};

// The arguments after the program's name. Switches are case-insensitive and
// start with / or -.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace orvanta
