#pragma once
// The program without its window, for scripts: the usage, a list of what it
// finds, or the repair the button makes, with the same checks, backups, order
// and log. Its answer is the exit code.
#include "app/CommandLineOptions.h"
#include "platform/Platform.h"
#include "platform/TextOutput.h"

namespace orvanta {

// Exit codes, as the usage text gives them.
inline constexpr int RepairedExitCode = 0;
inline constexpr int ToolFailedExitCode = 1;
inline constexpr int RefusedExitCode = 2;
inline constexpr int SystemErrorExitCode = 3;

// Runs a command other than the window and returns the program's exit code.
int RunCommandLine(const CommandLineOptions& options, Platform platform, TextOutput& output);

// The usage text, exit codes included.
std::string UsageText();

} // namespace orvanta
