#pragma once
// The command lines of the two boot tools and where the tools live.
#include <string>
#include <vector>

namespace orvanta {

// The tool files below the application folder, as the command lines name them.
std::string BcdbootPath(const std::string& applicationFolder);
std::string BootsectPath(const std::string& applicationFolder);

// A program path as it stands in a command line: in double quotes when it holds
// a blank, so that the system can't take its first word for the program.
std::string QuotedProgram(const std::string& programPath);

// The program a command line starts: its first word, or the quoted path.
std::string ProgramOf(const std::string& commandLine);

std::string BiosCommandLine(const std::string& applicationFolder, const std::string& installation,
                            const std::string& bootPartition);
std::string UefiCommandLine(const std::string& applicationFolder, const std::string& installation,
                            const std::string& bootPartition);
std::string BootsectCommandLine(const std::string& applicationFolder, const std::string& bootPartition);

// Every command line of a repair in the order they run: the BIOS and the UEFI
// run for each installation, then the boot code.
std::vector<std::string> RepairCommandLines(const std::string& applicationFolder,
                                            const std::vector<std::string>& runOrder,
                                            const std::string& bootPartition);

} // namespace orvanta
