#include "app/texts/UserMessages.h"

#include "app/texts/BootFileTexts.h"
#include "app/texts/PreflightTexts.h"
#include "app/texts/RunRefusals.h"
#include "app/texts/StoreStates.h"
#include "app/phrases/StoreTexts.h"
#include "app/texts/UefiMessages.h"
#include "platform/text/CaseBlind.h"
#include "platform/text/TextEncodings.h"
#include "repair/partition/BootPartition.h"
#include "repair/tools/CommandLines.h"
#include "repair/tools/ToolOutput.h"

namespace orvanta {
namespace {

Message Warning(std::string text) {
    return {std::move(text), WarningTitle, MessageStyle::Error};
}

Message Note(std::string text) {
    return {std::move(text), NoteTitle, MessageStyle::Information};
}

Message MissingToolsMessage(const std::vector<std::string>& missingPaths) {
    std::string text;
    for (const std::string& path : missingPaths) {
        text += "找不到修复工具 " + FileNameOf(path) + "，它应在：" + path + "\r\n";
    }
    text += "请把 bcdboot.exe 和 bootsect.exe 放进本程序所在文件夹的 Bin 文件夹。\r\n"
            "这两个工具可以从同类的 Windows 取得（bcdboot.exe 在 Windows\\System32 文件夹里，"
            "bootsect.exe 在 Windows 安装介质的 boot 文件夹里），也可以从 Windows ADK 取得。"
            "工具的位数必须与正在运行的 Windows 或 WinPE 相同（64 位 WinPE 用 64 位的工具）。\r\n"
            "修复未开始，没有做任何更改。";
    return Warning(text);
}

Message BadBootPartitionMessage(const std::string& text) {
    if (text.find_first_not_of(' ') == std::string::npos) return Warning("没有填写引导盘：请填写引导盘的盘符和冒号，例如 C:。\r\n修复未开始，没有做任何更改。");
    return Warning("引导盘“" + text + "”无效：请只填写盘符和冒号，例如 C:。\r\n修复未开始，没有做任何更改。");
}

// How many of a failed tool's last lines the box shows; the log has them all.
constexpr std::size_t ShownOutputLines = 3;

std::string RunText(const ToolRun& run) {
    std::string text = run.commandLine + "\r\n";
    if (run.startError) return text + StartErrorText(*run.startError) + "\r\n";
    text += "退出代码：" + std::to_string(run.exitCode) + "（" + Hexadecimal(run.exitCode) + "）\r\n";
    for (const std::string& line : LastLines(run.output(), ShownOutputLines)) text += "　" + line + "\r\n";
    return text;
}

Message FailedToolsMessage(const std::vector<FailedTool>& failures) {
    std::string text = "以下修复命令没有成功完成：\r\n";
    for (const FailedTool& failure : failures) {
        text += RunText(failure.run);
        if (failure.fallback) text += "再用该系统自带的 bcdboot 修复，也没有成功：\r\n" + RunText(*failure.fallback);
        if (!failure.tooOldFallback.empty()) {
            text += "该系统自带的 bcdboot（版本 " + failure.tooOldFallback + "）早于 Windows 8，不能写这个 BCD 存储，没有运行。\r\n";
        }
    }
    text += "引导可能没有完全修复，请检查后再试。";
    return Warning(text);
}

// A question: it ends the text, so that Yes and No answer it.
Message NotElevatedMessage() {
    return {"修复系统引导需要管理员权限，本程序现在没有这个权限。\r\n修复未开始，没有做任何更改。\r\n"
            "是否以管理员身份重新运行本程序？",
            WarningTitle, MessageStyle::Warning};
}

Message UefiUnbootableMessage(const RepairPlan& plan, const UefiContext& uefi) {
    const std::string& boot = plan.bootPartition;
    std::string text = "UEFI 引导文件已写入 " + boot;
    text += plan.bootFileSystem.empty()
                ? "，但无法识别 " + boot + " 的文件系统。UEFI 固件只能从 FAT32 格式的 EFI 系统分区启动，很可能无法从 " +
                      boot + " 启动。\r\n"
                : "，但 " + boot + " 是 " + plan.bootFileSystem +
                      " 分区，UEFI 固件只能从 FAT32 格式的 EFI 系统分区启动，无法从 " + boot + " 启动。\r\n";
    text += uefi.systemPartition.empty()
                ? "没有找到 EFI 系统分区：请先确认硬盘上有 EFI 系统分区并给它分配盘符，再把它填为引导盘重新修复。"
                : "请把引导盘改为 EFI 系统分区 " + uefi.systemPartition + " 后重新修复。";
    return Warning(text);
}

} // namespace

std::string Hexadecimal(std::uint32_t value) {
    return "0x" + UpperHexDigits(value, 8);
}

std::string FirmwareCaption(FirmwareMode firmware, const std::string& systemPartition) {
    if (firmware == FirmwareMode::Bios) return "固件：BIOS（传统）";
    std::string caption = firmware == FirmwareMode::Uefi ? "固件：UEFI" : "固件：未知";
    caption += systemPartition.empty() ? "，未找到 EFI 系统分区" : "，EFI 系统分区：" + systemPartition;
    return caption;
}

std::string InstallationCountText(std::size_t count) {
    if (count == 0) return "当前电脑硬盘里未发现操作系统！";
    return "当前电脑硬盘里共发现" + std::to_string(count) + "个系统！";
}

Message NoDiskMessage() {
    return {"未发现任何磁盘或光驱", ErrorTitle, MessageStyle::Information};
}

Message NothingToRepairMessage(const std::vector<std::string>& lockedDrives) {
    const std::string advice = UnlockAdvice(lockedDrives);
    return Note("当前电脑硬盘里未发现操作系统！无法进行此操作！" + (advice.empty() ? "" : "\r\n\r\n" + advice));
}

Message CloseRefusedMessage() {
    return Warning("正在修复系统引导，无法关闭！");
}

Message RefusalMessage(const RepairPlan& plan, const std::string& bootPartitionText) {
    if (plan.refusal == Refusal::ToolsMissing) return MissingToolsMessage(plan.missingTools);
    if (plan.refusal == Refusal::NotElevated) return NotElevatedMessage();
    if (plan.refusal == Refusal::EncryptedBootPartition) return EncryptedBootPartitionMessage(plan);
    if (plan.refusal == Refusal::EncryptingBootLoader) return EncryptingBootLoaderMessage(plan);
    if (plan.refusal == Refusal::NotEnoughRoom) return NotEnoughRoomMessage(plan);
    return BadBootPartitionMessage(bootPartitionText);
}

Message NotElevatedCommandLineMessage() {
    return Warning("修复系统引导需要管理员权限：请在以管理员身份运行的命令提示符里执行。\r\n修复未开始，没有做任何更改。");
}

Message NotElevatedAfterRestartMessage() {
    return Warning("本程序已经以管理员身份重新运行，但仍然没有管理员权限"
                   "（用户账户控制关闭时，标准用户账户得不到管理员权限）。\r\n"
                   "请用管理员账户登录后再运行本程序；或打开用户账户控制，再右键单击本程序，"
                   "选择“以管理员身份运行”并输入管理员密码。\r\n"
                   "修复未开始，没有做任何更改。");
}

Message DllsInTheSearchPathMessage(const std::vector<std::string>& paths) {
    std::string text = "这台电脑的 Windows 缺少限制 DLL 搜索位置的更新（KB2533623），"
                       "本程序所在文件夹和 Bin 文件夹里的 DLL 文件会被载入本程序：\r\n";
    for (const std::string& path : paths) text += "  " + path + "\r\n";
    text += "请删除这些文件，或把本程序和 Bin 文件夹复制到一个没有 DLL 文件的文件夹后再运行。\r\n"
            "本程序没有运行，没有做任何更改。";
    return Warning(text);
}

Message UnknownDefaultMessage(const std::string& installation) {
    return Warning("/default 指定的系统“" + installation + "”没有找到：它必须是 /list 列出的系统之一。\r\n"
                   "修复未开始，没有做任何更改。");
}

Message ErrorMessage(const PlatformError& error) {
    return {"错误 " + std::to_string(error.number()) + "：" + error.description(), ErrorTitle,
            MessageStyle::Information};
}

std::string StartErrorText(const PlatformError& error) {
    return "无法启动（错误 " + std::to_string(error.number()) + "）：" + error.description();
}

std::string BracketedError(const PlatformError& error) {
    std::string description = error.description();
    while (!description.empty() && (description.back() == '.' || description.back() == ' ' ||
                                    description.back() == '\r' || description.back() == '\n')) {
        description.pop_back();
    }
    if (description.ends_with("。")) description.resize(description.size() - std::string("。").size());
    return "（错误 " + std::to_string(error.number()) + "，" + description + "）";
}

std::string StopReasonText(const RepairReport& report) {
    if (!report.error) return report.abandoned ? "注销、关机或关闭了控制台窗口" : "";
    if (report.stoppedTool.empty()) return "出现错误" + BracketedError(*report.error);
    // The system's text often names the program already: then its name is enough.
    const bool named = report.error->description().find(report.stoppedTool) != std::string::npos;
    return "修复工具 " + (named ? FileNameOf(report.stoppedTool) : report.stoppedTool) + " 无法启动" +
           BracketedError(*report.error);
}

namespace {

// A store the tools wrote that doesn't boot what it should.
Message FailedCheckMessage(const StoreReport& store) {
    std::string text = FirmwareName(store.firmware) + " 的 BCD 存储 " + store.path +
                       (store.inPlace ? " 已在原处更新" : " 已写入") + "，但检查发现它不能正常引导：\r\n";
    for (const StoreFinding& finding : store.check.findings) text += "　" + FindingText(finding, store.firmware) + "\r\n";
    text += "引导没有完全修复，请检查后再试。";
    return Warning(text);
}

} // namespace

bool UefiStoreStartable(const RepairPlan& plan, const UefiContext& uefi) {
    return uefi.firmware == FirmwareMode::Bios || UefiCanStartFrom(plan.bootFileSystem);
}

std::vector<Message> OutcomeMessages(const RepairReport& report, const RepairPlan& plan, const UefiContext& uefi) {
    if (report.refusal) return {StoreRefusalMessage(*report.refusal)};
    if (report.abandoned) return {AbortMessage(report)};
    std::vector<Message> messages;
    if (report.error) {
        messages.push_back(AbortMessage(report));
    } else if (report.settleError) {
        messages.push_back(SettleFailedMessage(report));
    }
    for (const StoreReport* store : {&report.bios, &report.uefi}) {
        if (store->outcome == StoreOutcome::FailedCheck) messages.push_back(FailedCheckMessage(*store));
        const bool repaired = store->outcome == StoreOutcome::Repaired;
        if (store->firmware == StoreFirmware::Bios) {
            if (repaired) messages.push_back(Note("BIOS引导修复成功！"));
            continue;
        }
        if (!UefiStoreStartable(plan, uefi)) {
            if (repaired) messages.push_back(UefiUnbootableMessage(plan, uefi));
        } else if (uefi.start && uefi.start->damaged()) {
            // Damage is what to repair first, whatever else the firmware would object to.
            messages.push_back(BootManagerDamagedMessage(*uefi.start, plan.runOrder.back()));
        } else if (uefi.start && uefi.start->refused()) {
            messages.push_back(BootManagerRefusedMessage(*uefi.start));
        } else if (repaired) {
            messages.push_back(Note("UEFI引导修复成功！" + (uefi.start ? UefiSuccessNote(*uefi.start, !uefi.bootEntryOffered) : std::string())));
        }
    }
    if (!report.failedTools.empty()) messages.push_back(FailedToolsMessage(report.failedTools));
    return messages;
}

std::string RestoreCommandFor(const std::string& bootPartition, FirmwareMode firmware, const std::string& espLetter) {
    const std::string command = "Orvanta.exe /restore";
    return SameIgnoringCase(bootPartition, DefaultBootPartition(firmware, espLetter)) ? command
                                                                                      : command + " /s " + bootPartition;
}

std::string KeptStoresNote(const RepairReport& report, const std::string& restoreCommand) {
    std::string note;
    for (const StoreReport* store : {&report.bios, &report.uefi}) {
        if (store->dropped.empty()) continue;
        note += FirmwareName(store->firmware) + " 的 BCD 存储重建后，旧 BCD 存储里的这些启动项不再有：\r\n";
        for (const std::string& line : DroppedLines(store->dropped)) note += line + "\r\n";
        note += "它们仍在旧 BCD 存储里，可以用 bcdedit /store 查看并找回。\r\n";
    }
    bool kept = false;
    for (const StoreReport* store : {&report.bios, &report.uefi}) {
        if (store->oldStoreKept.empty()) continue;
        note += "旧 BCD 存储保留在：" + store->oldStoreKept + "\r\n";
        kept = true;
    }
    if (kept) note += "要换回旧 BCD 存储，请在管理员命令提示符中运行 " + restoreCommand + "，它会列出可以换回的副本。\r\n";
    // A log beside the wrong store could be replayed into it: the user hears of it.
    for (const StoreEvent& step : report.storeSteps) {
        if (step.step == StoreStep::LogNotMoved) {
            note += "事务日志 " + step.detail + " 没能随 BCD 存储 " + step.path + " 移动。\r\n";
        } else if (step.step == StoreStep::LogNotRemoved) {
            note += "事务日志 " + step.detail + " 属于工具写的新 BCD 存储，没能删除：请在重新启动前删除它。\r\n";
        }
    }
    if (note.ends_with("\r\n")) note.resize(note.size() - 2);
    return note;
}

std::string LogNote(const std::string& logPath, bool logFailed) {
    if (logPath.empty() || logFailed) return "修复日志无法写入。";
    return "修复日志：" + logPath;
}

bool AddToLastMessage(std::vector<Message>& messages, const std::string& note) {
    if (messages.empty()) return false;
    messages.back().text += "\r\n\r\n" + note;
    return true;
}

} // namespace orvanta
