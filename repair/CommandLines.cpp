#include "repair/CommandLines.h"

namespace orvanta {

// The folder is written "Bin" for one tool and "bin" for the other; both name
// the same folder on Windows and are kept as the tools' users know them.
std::string BcdbootPath(const std::string& applicationFolder) {
    return applicationFolder + "\\Bin\\bcdboot.exe";
}

std::string BootsectPath(const std::string& applicationFolder) {
    return applicationFolder + "\\bin\\bootsect.exe";
}

std::string QuotedProgram(const std::string& programPath) {
    if (programPath.find(' ') == std::string::npos) return programPath;
    return "\"" + programPath + "\"";
}

std::string ProgramOf(const std::string& commandLine) {
    if (commandLine.starts_with('"')) return commandLine.substr(1, commandLine.find('"', 1) - 1);
    return commandLine.substr(0, commandLine.find(' '));
}

std::string BiosCommandLine(const std::string& applicationFolder, const std::string& installation,
                            const std::string& bootPartition) {
    return QuotedProgram(BcdbootPath(applicationFolder)) + " " + installation + " /s " +
           bootPartition + " /l zh-cn";
}

std::string UefiCommandLine(const std::string& applicationFolder, const std::string& installation,
                            const std::string& bootPartition) {
    return QuotedProgram(BcdbootPath(applicationFolder)) + " " + installation + " /s " +
           bootPartition + " /f uefi /l zh-cn";
}

std::string BootsectCommandLine(const std::string& applicationFolder, const std::string& bootPartition) {
    return QuotedProgram(BootsectPath(applicationFolder)) + " /nt60 " + bootPartition + " /mbr";
}

std::vector<std::string> RepairCommandLines(const std::string& applicationFolder,
                                            const std::vector<std::string>& runOrder,
                                            const std::string& bootPartition) {
    std::vector<std::string> lines;
    for (const std::string& installation : runOrder) {
        lines.push_back(BiosCommandLine(applicationFolder, installation, bootPartition));
        lines.push_back(UefiCommandLine(applicationFolder, installation, bootPartition));
    }
    lines.push_back(BootsectCommandLine(applicationFolder, bootPartition));
    return lines;
}

} // namespace orvanta
