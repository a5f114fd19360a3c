#pragma once
// The command lines of the two boot tools and where the tools live.
#include <string>
#include <vector>

#include "platform/text/CaseBlind.h"
#include "repair/stores/StoreCheck.h"

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

// One run of a tool: the program, its arguments, the installation it
// repairs ("" for bootsect) and the store it writes.
struct ToolCall {
    std::string program;
    std::string arguments;
    std::string installation;
    StoreFirmware firmware = StoreFirmware::Bios;

    std::string commandLine() const;
    // The same arguments for another program.
    ToolCall with(const std::string& otherProgram) const;
    // Without the firmware choice (" /f bios", " /f uefi"), which a bcdboot
    // older than Windows 8's doesn't know: it writes the store of the
    // firmware the PC runs on.
    ToolCall withoutFirmwareChoice() const;
    // Whether it asks for the boot manager signed under the 2023 CA, and the same call without.
    bool asksBootex() const;
    ToolCall withoutBootex() const;
};

// Whether a bcdboot of this file version ("6.1.7601.17514") knows /f: those
// of Windows 8 (6.2) and later; an unknown version is taken to.
bool KnowsFirmwareChoice(const std::string& fileVersion);

// Every run of a repair in its order: the BIOS and the UEFI run of bcdboot
// for each installation (each naming its firmware: without /f bcdboot writes
// for the firmware the PC runs on; the UEFI run of those in
// `bootexInstallations` asks for the EX boot files), then bootsect for the
// boot code.
std::vector<ToolCall> RepairToolCalls(const std::string& applicationFolder, const std::vector<std::string>& runOrder,
                                      const std::string& bootPartition,
                                      const std::vector<std::string>& bootexInstallations = {});

} // namespace orvanta
