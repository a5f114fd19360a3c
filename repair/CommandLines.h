#pragma once
// The command lines of the two boot tools and where the tools live.
#include <string>
#include <vector>

#include "platform/CaseBlind.h"

namespace orvanta {

// The tool files below the application folder, as the command lines name them.
std::string BcdbootPath(const std::string& applicationFolder);
std::string BootsectPath(const std::string& applicationFolder);

// The bcdboot.exe an installation carries, as this program reaches it: the
// running system's own System32 is "Sysnative" to a 32-bit program on 64-bit
// Windows; another installation's System32 is not redirected.
std::string InstallationBcdbootPath(const std::string& installation, const std::string& runningWindowsFolder,
                                    bool redirected32Bit);

// A program path as it stands in a command line: in double quotes when it holds
// a blank, so that the system can't take its first word for the program.
std::string QuotedProgram(const std::string& programPath);

// The program a command line starts: its first word, or the quoted path.
std::string ProgramOf(const std::string& commandLine);

// The folder of a file's path, without the trailing backslash, and its name.
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

// One run of a tool: the program, its arguments, and the installation it
// repairs ("" for bootsect).
struct ToolCall {
    std::string program;
    std::string arguments;
    std::string installation;

    std::string commandLine() const;
    // The same arguments for another program.
    ToolCall with(const std::string& otherProgram) const;
};

// Every run of a repair in its order: the BIOS and the UEFI run of bcdboot
// for each installation, then bootsect for the boot code.
std::vector<ToolCall> RepairToolCalls(const std::string& applicationFolder, const std::vector<std::string>& runOrder,
                                      const std::string& bootPartition);

} // namespace orvanta
