#include "app/commandline/CommandLineOptions.h"

#include <cctype>

namespace orvanta {
namespace {

// "/Repair" and "-repair" give "repair"; anything not a switch gives "".
std::string SwitchName(const std::string& argument) {
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return {};
    std::string name;
    for (std::size_t index = 1; index < argument.size(); ++index) {
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(argument[index])));
    }
    return name;
}

bool IsCommand(const std::string& name) {
    return name == "?" || name == "list" || name == "repair" || name == "restore";
}

CommandKind KindOf(const std::string& name) {
    if (name == "list") return CommandKind::List;
    if (name == "repair") return CommandKind::Repair;
    if (name == "restore") return CommandKind::Restore;
    return CommandKind::Usage;
}

// What a switch that takes a value is missing, for its message.
std::string ValueNameOf(const std::string& name) {
    if (name == "s") return "盘符（例如 C:）";
    if (name == "log" || name == "json") return "文件名";
    return "系统（例如 D:\\Windows）";
}

CommandLineOptions Refused(std::string why) {
    CommandLineOptions options;
    options.error = std::move(why);
    return options;
}

} // namespace

CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLineOptions options;
    if (arguments.size() == 1 && arguments.front() == ElevatedRestartMarker) {
        options.restartedElevated = true;
        return options;
    }
    bool commandGiven = false;
    std::vector<std::string> plain; // arguments that are neither switches nor their values
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const std::string name = SwitchName(argument);
        if (IsCommand(name)) {
            if (commandGiven) return Refused("只能给出 /?、/list、/repair 和 /restore 中的一个。");
            commandGiven = true;
            options.kind = KindOf(name);
            continue;
        }
        if (name.empty()) {
            plain.push_back(argument);
            continue;
        }
        const bool takesValue = name == "s" || name == "default" || name == "log" || name == "json";
        const bool flag = name == "nodefault" || name == "fwentry" || name == "plan";
        if (!takesValue && !flag) return Refused("无法识别的参数：" + argument);
        if (takesValue && (index + 1 == arguments.size() || !SwitchName(arguments[index + 1]).empty())) {
            return Refused("参数 " + argument + " 后面缺少" + ValueNameOf(name) + "。");
        }
        if (name == "s") options.bootPartition = arguments[++index];
        if (name == "default") options.defaultInstallation = arguments[++index];
        if (name == "log") options.logPath = arguments[++index];
        if (name == "nodefault") options.noDefault = true;
        if (name == "fwentry") options.writeBootEntry = true;
        if (name == "plan") options.plan = true;
        if (name == "json") options.jsonPath = arguments[++index];
    }
    const bool restore = options.kind == CommandKind::Restore;
    if (!plain.empty() && (!restore || plain.size() > 1)) return Refused("无法识别的参数：" + plain[restore ? 1 : 0]);
    if (restore && !plain.empty()) options.restoreCopy = plain.front();
    const bool repairSwitches = options.defaultInstallation || options.noDefault || options.writeBootEntry;
    if (repairSwitches && options.kind != CommandKind::Repair) {
        return Refused("/default、/nodefault 和 /fwentry 只能与 /repair 一起使用。");
    }
    if ((options.bootPartition || options.logPath) && options.kind != CommandKind::Repair && !restore) {
        return Refused("/s 和 /log 只能与 /repair 或 /restore 一起使用。");
    }
    if (options.defaultInstallation && options.noDefault) return Refused("/default 和 /nodefault 不能同时使用。");
    if (options.plan && options.kind != CommandKind::Repair) return Refused("/plan 只能与 /repair 一起使用。");
    // The plan changes nothing: no log file, no boot entry.
    if (options.plan && (options.logPath || options.writeBootEntry)) return Refused("/plan 不能与 /log 或 /fwentry 一起使用。");
    if (options.jsonPath && (options.kind == CommandKind::Window || options.kind == CommandKind::Usage)) {
        return Refused("/json 只能与 /list、/repair 或 /restore 一起使用。");
    }
    if (!commandGiven && !arguments.empty()) return Refused("缺少命令：/?、/list、/repair 或 /restore。");
    return options;
}

} // namespace orvanta
