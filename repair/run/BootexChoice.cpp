#include "repair/run/BootexChoice.h"

#include <cctype>

#include "platform/errors/PlatformError.h"
#include "platform/errors/SystemErrors.h"
#include "repair/tools/CommandLines.h"
#include "repair/tools/ToolOutput.h"
#include "repair/run/UefiStartCheck.h"

namespace orvanta {
namespace {

bool WantsBootex(const InstallationBootFiles& files) {
    const BootManagerFile& ex = files.ex;
    return InstallationBootFiles::refusedHere(files.standard) && ex.isImage && ex.trust && !InstallationBootFiles::refusedHere(ex);
}

} // namespace

std::vector<std::string> UefiBootFiles::bootexInstallations() const {
    std::vector<std::string> chosen;
    for (const InstallationBootFiles& files : installations) {
        if (files.bootex) chosen.push_back(files.installation);
    }
    return chosen;
}

std::vector<const BootManagerFile*> UefiBootFiles::damagedFiles() const {
    std::vector<const BootManagerFile*> damaged;
    for (const InstallationBootFiles& files : installations) {
        const BootManagerFile& copied = files.bootex ? files.ex : files.standard;
        if (copied.damaged()) damaged.push_back(&copied);
    }
    return damaged;
}

bool UsageNamesBootex(std::string_view usage) {
    constexpr std::string_view Option = "/bootex";
    for (std::size_t at = 0; at + Option.size() <= usage.size(); ++at) {
        std::size_t matched = 0;
        while (matched < Option.size() &&
               std::tolower(static_cast<unsigned char>(usage[at + matched])) == Option[matched]) {
            ++matched;
        }
        if (matched == Option.size()) return true;
    }
    return false;
}

std::optional<bool> BcdbootKnowsBootex(Processes& processes, ConsoleCodePage& codePage, const std::string& program) {
    std::unique_ptr<StartedProcess> process;
    try {
        process = processes.start(QuotedProgram(program) + " /?", FolderOf(program));
    } catch (const PlatformError&) {
        return std::nullopt;
    }
    if (!process->waitForExit(UsageWaitMilliseconds)) {
        process->terminate(1);
        return std::nullopt;
    }
    const CapturedOutput output = process->output();
    return UsageNamesBootex(DecodeToolOutput(output.standardOutput, codePage) + DecodeToolOutput(output.standardError, codePage));
}

UefiBootFiles ChooseUefiBootFiles(const std::vector<std::string>& runOrder, const UefiBootState& state,
                                  BootFileServices services, const std::function<std::optional<bool>()>& knowsBootex) {
    UefiBootFiles chosen;
    chosen.secureBootOn = SecureBootStateOf(state) == SecureBootState::On;
    chosen.judged = chosen.secureBootOn && DatabasesReadable(state);
    if (chosen.secureBootOn && !chosen.judged) chosen.databaseError = state.db.error != 0 ? state.db.error : state.dbx.error;
    bool asked = false;
    for (const std::string& installation : runOrder) {
        InstallationBootFiles files{installation,
                                    ReadBootManagerFile(services, installation + std::string(InstallationBootManagerPath), false),
                                    ReadBootManagerFile(services, installation + std::string(InstallationExBootManagerPath), false)};
        if (chosen.judged) {
            JudgeBootManagerFile(files.standard, state, services.crypto);
            JudgeBootManagerFile(files.ex, state, services.crypto);
        }
        files.wantsBootex = WantsBootex(files);
        if (files.wantsBootex && !asked) {
            chosen.bcdbootKnowsBootex = knowsBootex();
            asked = true;
        }
        files.bootex = files.wantsBootex && chosen.bcdbootKnowsBootex == true;
        chosen.installations.push_back(std::move(files));
    }
    return chosen;
}

} // namespace orvanta
