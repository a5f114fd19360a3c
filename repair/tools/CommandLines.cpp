#include "repair/tools/CommandLines.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace orvanta {

// The folder is written "Bin" for one tool and "bin" for the other; both name
// the same folder on Windows and are kept as the tools' users know them.
std::string BcdbootPath(const std::string& applicationFolder) {
    return applicationFolder + "\\Bin\\bcdboot.exe";
}

std::string BootsectPath(const std::string& applicationFolder) {
    return applicationFolder + "\\bin\\bootsect.exe";
}

std::string InstallationBcdbootPath(const std::string& installation, const std::string& runningWindowsFolder,
                                    bool redirected32Bit) {
    const bool running = SameIgnoringCase(installation, runningWindowsFolder);
    return installation + (running && redirected32Bit ? "\\Sysnative" : "\\System32") + "\\bcdboot.exe";
}

std::string QuotedProgram(const std::string& programPath) {
    if (programPath.find(' ') == std::string::npos) return programPath;
    return "\"" + programPath + "\"";
}

std::string ProgramOf(const std::string& commandLine) {
    if (commandLine.starts_with('"')) return commandLine.substr(1, commandLine.find('"', 1) - 1);
    return commandLine.substr(0, commandLine.find(' '));
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

std::string ToolCall::commandLine() const {
    return QuotedProgram(program) + " " + arguments;
}

ToolCall ToolCall::with(const std::string& otherProgram) const {
    return ToolCall{otherProgram, arguments, installation, firmware};
}

ToolCall ToolCall::withoutFirmwareChoice() const {
    ToolCall call = *this;
    for (const char* choice : {" /f bios", " /f uefi"}) {
        const std::size_t at = call.arguments.find(choice);
        if (at != std::string::npos) call.arguments.erase(at, std::string(choice).size());
    }
    return call;
}

namespace {
constexpr std::string_view BootexOption = " /bootex";
}

bool ToolCall::asksBootex() const {
    return arguments.find(BootexOption) != std::string::npos;
}

ToolCall ToolCall::withoutBootex() const {
    ToolCall call = *this;
    const std::size_t at = call.arguments.find(BootexOption);
    if (at != std::string::npos) call.arguments.erase(at, BootexOption.size());
    return call;
}

bool KnowsFirmwareChoice(const std::string& fileVersion) {
    std::size_t at = 0;
    const auto number = [&]() -> std::optional<unsigned> {
        const std::size_t start = at;
        unsigned value = 0;
        while (at < fileVersion.size() && fileVersion[at] >= '0' && fileVersion[at] <= '9' && value < 100000) {
            value = value * 10 + static_cast<unsigned>(fileVersion[at++] - '0');
        }
        return at > start ? std::optional(value) : std::nullopt;
    };
    const std::optional<unsigned> major = number();
    if (!major || at >= fileVersion.size() || fileVersion[at++] != '.') return true;
    const std::optional<unsigned> minor = number();
    if (!minor) return true;
    return *major > 6 || (*major == 6 && *minor >= 2);
}

std::vector<ToolCall> RepairToolCalls(const std::string& applicationFolder, const std::vector<std::string>& runOrder,
                                      const std::string& bootPartition, const std::vector<std::string>& bootexInstallations) {
    std::vector<ToolCall> calls;
    const std::string bcdboot = BcdbootPath(applicationFolder);
    for (const std::string& installation : runOrder) {
        const bool bootex = std::find(bootexInstallations.begin(), bootexInstallations.end(), installation) != bootexInstallations.end();
        calls.push_back({bcdboot, installation + " /s " + bootPartition + " /f bios /l zh-cn", installation,
                         StoreFirmware::Bios});
        calls.push_back({bcdboot, installation + " /s " + bootPartition + " /f uefi /l zh-cn" + (bootex ? std::string(BootexOption) : ""),
                         installation, StoreFirmware::Uefi});
    }
    calls.push_back({BootsectPath(applicationFolder), "/nt60 " + bootPartition + " /mbr", "", StoreFirmware::Bios});
    return calls;
}

} // namespace orvanta
