#include "app/texts/LogLines.h"

#include "app/texts/BootFileTexts.h"

#include <cstdio>

#include "app/phrases/DiskLines.h"
#include "app/phrases/JoinedText.h"
#include "app/texts/RunRefusals.h"
#include "app/phrases/StoreTexts.h"
#include "app/texts/UefiLogLines.h"
#include "app/texts/UnansweredTexts.h"
#include "app/texts/UserMessages.h"

namespace orvanta {
namespace {

std::string DriveTypeName(std::uint32_t type) {
    switch (type) {
    case 2: return "可移动磁盘";
    case 3: return "固定磁盘";
    case 4: return "网络驱动器";
    case 5: return "光驱";
    case 6: return "内存盘";
    default: return "未知类型（" + std::to_string(type) + "）";
    }
}

std::string AttributesText(const std::optional<FileAttributes>& attributes) {
    if (!attributes) return "";
    std::string text;
    for (const auto& [set, name] : {std::pair{attributes->readOnly, "只读"}, std::pair{attributes->hidden, "隐藏"},
                                    std::pair{attributes->system, "系统"}}) {
        if (set) text += (text.empty() ? "" : "、") + std::string(name);
    }
    return "（属性：" + (text.empty() ? std::string("普通") : text) + "）";
}

std::string SignatureText(const FileIdentity& program) {
    const std::string signer = program.signer.empty() ? "" : "（" + program.signer + "）";
    switch (program.signature) {
    case SignatureState::Valid:
        return IsSignedByMicrosoft(program) ? "数字签名：有效，来自 Microsoft" + signer
                                            : "数字签名：有效，但不是 Microsoft 的" + signer;
    case SignatureState::NotSigned: return "数字签名：没有";
    case SignatureState::NotTrusted: return "数字签名：无效或不受信任" + signer;
    case SignatureState::Unknown: return "数字签名：无法检查";
    }
    return {};
}

} // namespace

void Indented(LogLines& lines, const std::string& text, const std::string& indent) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!(end == text.size() && line.empty())) lines.push_back(indent + line);
        start = end + 1;
    }
}

std::string WithCrLf(const LogLines& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

namespace {

std::string TwoDigits(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

// "[15:31:03.120]", how a log line says when something happened.
std::string TimeStamp(const LocalTime& time) {
    return "[" + TimeOfDayText(time) + "]";
}

} // namespace

std::string LogFileName(const LocalTime& time, int attempt) {
    return "Orvanta-" + std::to_string(time.year) + TwoDigits(time.month) + TwoDigits(time.day) + "-" +
           TwoDigits(time.hour) + TwoDigits(time.minute) + TwoDigits(time.second) +
           (attempt > 1 ? "-" + std::to_string(attempt) : "") + ".log";
}

std::string DateTimeText(const LocalTime& time) {
    return std::to_string(time.year) + "-" + TwoDigits(time.month) + "-" + TwoDigits(time.day) + " " +
           TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second);
}

std::string TimeOfDayText(const LocalTime& time) {
    const std::string milliseconds = std::to_string(1000 + time.millisecond).substr(1);
    return TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second) + "." + milliseconds;
}

LogLines StartLines(const LocalTime& time, const ProgramFacts& program) {
    return {"Orvanta " + program.version + "（" + program.architecture + "）修复日志",
            "启动时间：" + DateTimeText(time), "Windows 版本：" + program.windows,
            std::string("管理员权限：") + (program.elevated ? "有" : "没有")};
}

LogLines SurveyLines(const MachineSurvey& survey, const std::string& systemPartitionLetter, bool letterGiven) {
    LogLines lines{"固件：" + std::string(survey.firmware == FirmwareMode::Uefi   ? "UEFI"
                                          : survey.firmware == FirmwareMode::Bios ? "BIOS"
                                                                                  : "未知")};
    if (const auto& esp = survey.systemPartition) {
        std::string line = "EFI 系统分区：" + PlaceText(esp->disk, esp->partition);
        if (!systemPartitionLetter.empty()) {
            line += "，盘符 " + systemPartitionLetter + (letterGiven ? "（本程序临时分配，退出时收回）" : "");
        }
        lines.push_back(line);
    } else if (!survey.systemPartitions.empty()) {
        lines.push_back("EFI 系统分区：只在 USB 磁盘上找到");
    } else {
        lines.push_back(survey.firmware == FirmwareMode::Bios ? "EFI 系统分区：BIOS 固件不从它启动，未查找"
                                                              : "EFI 系统分区：未找到");
    }
    for (std::string& line : SystemPartitionListLines(survey, systemPartitionLetter)) lines.push_back(std::move(line));
    for (std::string& line : DiskLines(survey.disks)) lines.push_back(std::move(line));
    if (survey.uefi) {
        const LogLines firmware = UefiStateLines(*survey.uefi);
        lines.insert(lines.end(), firmware.begin(), firmware.end());
    }
    lines.push_back("驱动器：" + std::string(survey.scan.drives.empty() ? "无" : ""));
    for (const ScannedDrive& drive : survey.scan.drives) {
        if (!drive.answered) {
            lines.push_back("  " + drive.name + " 没有响应");
            continue;
        }
        std::string line = "  " + drive.name + " " + DriveTypeName(drive.type);
        if (drive.type == FixedDriveType) {
            line += "，总线 " + BusName(drive.busType);
            if (drive.location) {
                line += "，" + PlaceText(drive.location->disk, drive.location->partition);
            }
            line += EncryptionSuffix(EncryptionOf(drive));
            if (drive.holdsWindows) line += "，有 Windows 文件夹";
        }
        lines.push_back(line);
    }
    const std::string installations = JoinedText(survey.scan.installations, "，");
    lines.push_back("找到的系统：" + (installations.empty() ? std::string("无") : installations));
    for (std::string& line : UnansweredLines(survey)) lines.push_back(std::move(line));
    return lines;
}

LogLines PlanLines(const LocalTime& time, const RepairPlan& plan) {
    const std::string order = JoinedText(plan.runOrder, "，");
    LogLines lines{"", "=== 修复开始 " + DateTimeText(time) + " ===",
                   "引导盘：" + plan.bootPartition + "（" +
                       (plan.bootFileSystem.empty() ? "文件系统未知" : plan.bootFileSystem) + "）"};
    for (std::string& line : BootPartitionLines(plan)) lines.push_back(std::move(line));
    lines.push_back("修复顺序（最后一个为默认系统）：" + order);
    if (plan.uefiBootFiles) {
        for (std::string& line : UefiBootFileLines(*plan.uefiBootFiles)) lines.push_back(std::move(line));
    }
    return lines;
}

std::string FileIdentityText(const FileIdentity& file) {
    return "版本：" + (file.version.empty() ? std::string("无") : file.version) + "，" + SignatureText(file);
}

LogLines ToolStartLines(const LocalTime& time, const std::string& commandLine, const std::string& programPath,
                        const FileIdentity& program) {
    return {TimeStamp(time) + " 运行：" + commandLine, "  程序：" + programPath + "，" + FileIdentityText(program)};
}

LogLines ToolEndLines(const ToolRun& run) {
    if (run.startError) return {"  " + StartErrorText(*run.startError)};
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", static_cast<double>(run.milliseconds) / 1000.0);
    LogLines lines{"  用时 " + std::string(seconds) + " 秒，退出代码 " + std::to_string(run.exitCode) + "（" +
                   Hexadecimal(run.exitCode) + "）"};
    for (const auto& [name, text] : {std::pair{"标准输出", &run.standardOutput}, std::pair{"标准错误", &run.standardError}}) {
        if (text->empty()) continue;
        lines.push_back("  " + std::string(name) + "：");
        Indented(lines, *text, "    ");
    }
    return lines;
}

LogLines StoreLines(const StoreEvent& event) {
    return {"BCD 存储 " + event.path + AttributesText(event.attributes) + "：" + StepText(event)};
}

LogLines OldStoreLines(const std::string& path, const StoreListing& listing) {
    return StoreListingLines("旧 BCD 存储 " + path, listing);
}

LogLines SkippedToolLines(const std::string& commandLine, const std::string& version) {
    return {"  没有运行 " + commandLine + "：该系统自带的 bcdboot（版本 " + version +
            "）早于 Windows 8，不认识 /f，只为本机固件的 BCD 存储运行"};
}

LogLines OwnBcdbootLines(const std::string& installation) {
    return {"  Bin 文件夹里的 bcdboot 没有成功，改用 " + installation + " 自带的 bcdboot 再运行一次"};
}

LogLines MessageLines(const LocalTime& time, const Message& message) {
    LogLines lines{TimeStamp(time) + " 消息框“" + message.title + "”："};
    Indented(lines, message.text, "  ");
    return lines;
}

namespace {

std::string OutcomeText(const StoreReport& store, bool abandoned) {
    const std::string ended = abandoned ? "注销或关机：" : "";
    switch (store.outcome) {
    case StoreOutcome::Repaired: return store.inPlace ? "已在原处更新，检查通过" : "已重建，检查通过";
    case StoreOutcome::FailedCheck: return store.inPlace ? "已在原处更新，但检查没有通过" : "已重建，但检查没有通过";
    case StoreOutcome::PutBack: return "工具没有修复它，旧 BCD 存储已放回原处";
    case StoreOutcome::NotRepaired: return "工具没有修复它";
    case StoreOutcome::Missing: return "不存在";
    case StoreOutcome::Restored: return "注销或关机：旧 BCD 存储已放回原处";
    case StoreOutcome::LeftBeside: return ended + "旧 BCD 存储无法放回原处";
    case StoreOutcome::LeftInPlace: return "注销或关机：留在原处，可能已被工具改动";
    }
    return {};
}

void StoreReportLines(LogLines& lines, const StoreReport& store, bool abandoned) {
    lines.push_back(FirmwareName(store.firmware) + " 的 BCD 存储 " + store.path + "：" + OutcomeText(store, abandoned));
    for (const StoreFinding& finding : store.check.findings) lines.push_back("  检查：" + FindingText(finding, store.firmware));
    if (store.after) {
        if (store.check.matchedByFolderOnly) {
            lines.push_back("  检查：系统没有告知各系统所在的分区，启动项只按 Windows 文件夹核对，无法核对分区");
        }
        for (const std::string& folder : store.check.unmatchedVirtualDisks) {
            lines.push_back("  检查：" + folder + " 在虚拟磁盘里，但找不到虚拟磁盘文件，无法核对启动项是否指向它，只按 Windows 文件夹核对");
        }
        for (const std::string& line : StoreListingLines("新 BCD 存储", *store.after)) lines.push_back("  " + line);
    }
    if (!store.dropped.empty()) {
        lines.push_back("  旧 BCD 存储里有、新 BCD 存储里没有的启动项：");
        for (const std::string& line : DroppedLines(store.dropped)) lines.push_back("  " + line);
    }
    if (!store.oldStoreKept.empty()) lines.push_back("  旧 BCD 存储保留在：" + store.oldStoreKept);
}

} // namespace

LogLines ReportLines(const LocalTime& time, const RepairReport& report) {
    LogLines lines{"=== 修复结束 " + DateTimeText(time) + " ==="};
    if (report.refusal) {
        lines.push_back("修复没有开始，没有做任何更改：" + StoreRefusalReasonText(*report.refusal));
        return lines;
    }
    StoreReportLines(lines, report.bios, report.abandoned);
    StoreReportLines(lines, report.uefi, report.abandoned);
    if (report.error) lines.push_back("中止原因：" + StopReasonText(report));
    if (report.abandoned) lines.push_back("中止原因：注销或关机");
    if (report.settleError) lines.push_back("放回或保留旧 BCD 存储时出错" + BracketedError(*report.settleError));
    lines.push_back("失败的命令：" + std::to_string(report.failedTools.size()) + " 条");
    return lines;
}

} // namespace orvanta
