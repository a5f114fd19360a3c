// ParseCommandLine on arguments split from the input at line feeds. Rules: a
// refusal sets nothing else; otherwise the command is the one command switch
// among the arguments, every value is the argument right after its switch,
// every argument is a switch or such a value, but for one argument of
// /restore (the copy to put back, which is not a switch), /s and /log come
// only with /repair or /restore, /default, /nodefault and /fwentry only with
// /repair, /default never with /nodefault; /plan only with /repair and never
// with /log or /fwentry, /json only with /list, /repair or /restore; the
// elevated restart's marker counts only alone.
#include <cstdint>
#include <string>
#include <vector>

#include "app/commandline/CommandLineOptions.h"
#include "fuzz/FuzzRules.h"

namespace orvanta {
namespace {

std::vector<std::string> Arguments(std::string_view bytes) {
    std::vector<std::string> arguments;
    if (bytes.empty()) return arguments;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string_view::npos; start = end + 1) {
        arguments.emplace_back(bytes.substr(start, end - start));
    }
    arguments.emplace_back(bytes.substr(start));
    return arguments;
}

// "/S", "-s": the switch `name` ("s", "default", "?"...), letters in either case.
bool IsSwitch(const std::string& argument, std::string_view name) {
    if (argument.size() != name.size() + 1 || (argument[0] != '/' && argument[0] != '-')) return false;
    for (std::size_t index = 0; index < name.size(); ++index) {
        const char letter = argument[index + 1];
        const char lower = letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
        if (lower != name[index]) return false;
    }
    return true;
}

bool IsValueSwitch(const std::string& argument) {
    return IsSwitch(argument, "s") || IsSwitch(argument, "default") || IsSwitch(argument, "log") || IsSwitch(argument, "json");
}

bool FollowsItsSwitch(const std::vector<std::string>& arguments, const std::optional<std::string>& value,
                      std::string_view name) {
    if (!value) return true;
    for (std::size_t index = 0; index + 1 < arguments.size(); ++index) {
        if (IsSwitch(arguments[index], name) && arguments[index + 1] == *value) return true;
    }
    return false;
}

std::optional<CommandKind> CommandNamedBy(const std::string& argument) {
    if (IsSwitch(argument, "?")) return CommandKind::Usage;
    if (IsSwitch(argument, "list")) return CommandKind::List;
    if (IsSwitch(argument, "repair")) return CommandKind::Repair;
    if (IsSwitch(argument, "restore")) return CommandKind::Restore;
    return std::nullopt;
}

bool StartsAsSwitch(const std::string& argument) {
    return argument.size() >= 2 && (argument[0] == '/' || argument[0] == '-');
}

void CheckAccepted(const std::vector<std::string>& arguments, const CommandLineOptions& options) {
    std::vector<CommandKind> commands;
    std::vector<std::string> others; // neither a switch nor a switch's value
    bool noDefaultGiven = false, bootEntryGiven = false, planGiven = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (const auto command = CommandNamedBy(argument)) commands.push_back(*command);
        noDefaultGiven = noDefaultGiven || IsSwitch(argument, "nodefault");
        bootEntryGiven = bootEntryGiven || IsSwitch(argument, "fwentry");
        planGiven = planGiven || IsSwitch(argument, "plan");
        const bool known = CommandNamedBy(argument) || IsValueSwitch(argument) || IsSwitch(argument, "nodefault") ||
                           IsSwitch(argument, "fwentry") || IsSwitch(argument, "plan");
        if (!known && !(index > 0 && IsValueSwitch(arguments[index - 1]))) others.push_back(argument);
    }
    fuzz::Require(others.empty() || (options.kind == CommandKind::Restore && others.size() == 1 &&
                                     !StartsAsSwitch(others.front()) && options.restoreCopy == others.front()));
    fuzz::Require(!options.restoreCopy || !others.empty());
    fuzz::Require(arguments.empty() ? options.kind == CommandKind::Window
                                    : commands.size() == 1 && commands.front() == options.kind);
    fuzz::Require(FollowsItsSwitch(arguments, options.bootPartition, "s") &&
                  FollowsItsSwitch(arguments, options.defaultInstallation, "default") &&
                  FollowsItsSwitch(arguments, options.logPath, "log") && FollowsItsSwitch(arguments, options.jsonPath, "json"));
    fuzz::Require(options.noDefault == noDefaultGiven && options.writeBootEntry == bootEntryGiven && options.plan == planGiven);
    const bool repairSwitches = options.defaultInstallation || options.noDefault || options.writeBootEntry;
    fuzz::Require(!repairSwitches || options.kind == CommandKind::Repair);
    fuzz::Require(!(options.bootPartition || options.logPath) || options.kind == CommandKind::Repair ||
                  options.kind == CommandKind::Restore);
    fuzz::Require(!(options.defaultInstallation && options.noDefault));
    fuzz::Require(!options.plan || (options.kind == CommandKind::Repair && !options.logPath && !options.writeBootEntry));
    fuzz::Require(!options.jsonPath || options.kind == CommandKind::List || options.kind == CommandKind::Repair ||
                  options.kind == CommandKind::Restore);
}

} // namespace
} // namespace orvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    const std::vector<std::string> arguments = Arguments(fuzz::AsBytes(data, size));
    const CommandLineOptions options = ParseCommandLine(arguments);
    // The elevated restart's private marker, alone, opens the window; anywhere else it is unknown.
    const bool marker = arguments.size() == 1 && arguments.front() == ElevatedRestartMarker;
    fuzz::Require(options.restartedElevated == marker);
    if (marker) {
        fuzz::Require(options.error.empty() && options.kind == CommandKind::Window);
    } else if (options.error.empty()) {
        CheckAccepted(arguments, options);
    } else {
        fuzz::Require(options.kind == CommandKind::Window && !options.bootPartition && !options.defaultInstallation &&
                      !options.noDefault && !options.logPath && !options.writeBootEntry && !options.restoreCopy &&
                      !options.plan && !options.jsonPath);
    }
    return 0;
}
