#include "app/restore/RestoreTexts.h"

#include "app/phrases/JoinedText.h"
#include "app/phrases/StoreTexts.h"
#include "app/texts/UserMessages.h"
#include "repair/tools/CommandLines.h"

namespace orvanta {
namespace {

constexpr const char* UseListedPath = "请用 Orvanta.exe /restore 列出的路径。";

std::string ErrorNumber(std::uint32_t error) {
    return "错误 " + std::to_string(error);
}

std::string HeldText(const RestoreReport& report) {
    const std::string holders = JoinedText(report.holders, "、");
    return "BCD 存储 " + report.storePath + " 正被" + (holders.empty() ? "其他程序" : "程序“" + holders + "”") +
           "使用，它不是正在运行的系统所用的 BCD 存储：请先关闭" +
           (report.holders.size() == 1 ? "这个程序" : "打开它的程序") + "，再换回。";
}

std::string RefusalReason(const RestoreReport& report) {
    const std::string drive = report.asked.size() >= 2 && report.asked[1] == ':' ? report.asked.substr(0, 2) : "";
    switch (report.refusal) {
    case RestoreRefusal::None: return {};
    case RestoreRefusal::NotElevated: return "换回 BCD 存储需要管理员权限：请在以管理员身份运行的命令提示符里执行。";
    case RestoreRefusal::AnotherRepair: return "另一个 Orvanta 正在修复系统引导，请等它完成后再换回。";
    case RestoreRefusal::OutsideStoreFolders:
        return "“" + report.asked + "”不在 \\boot 或 \\EFI\\Microsoft\\Boot 文件夹里：" + UseListedPath;
    case RestoreRefusal::NotAKeptCopy:
        return "“" + report.asked + "”不是本程序保留的旧 BCD 存储（名称形如 bcd.orvanta-0003-20261208-153102-ok）：" +
               UseListedPath;
    case RestoreRefusal::BadBootPartition:
        return "引导盘“" + report.bootPartition + "”无效：请只填写盘符和冒号，例如 C:。";
    case RestoreRefusal::OtherDrive:
        return "副本路径的盘符 " + drive + " 与 /s 给出的引导盘 " + report.bootPartition + " 不同：请只给出其中一个。";
    case RestoreRefusal::NoSuchDrive:
        return "这台电脑上没有 " + report.bootPartition + " 盘。" +
               (drive.empty() ? "" : "EFI 系统分区的盘符只在本程序运行时临时分配：请去掉盘符，只写分区上的路径。");
    case RestoreRefusal::NoSuchCopy: return report.copyPath + " 不存在：" + UseListedPath;
    case RestoreRefusal::CopyUnreadable:
        return "旧副本 " + report.copyPath + " 无法读取，不是完好的 BCD 存储：换回它，电脑将无法从这里启动。";
    case RestoreRefusal::HeldByProgram: return HeldText(report);
    case RestoreRefusal::FolderNotListed:
        return "BCD 存储 " + report.storePath + " 所在的文件夹无法列出，原来的 BCD 存储无法编号保留。";
    case RestoreRefusal::StoreNotMoved: return "BCD 存储 " + report.storePath + " 或它的事务日志无法移开。";
    case RestoreRefusal::StrayLog:
        return "BCD 存储 " + report.storePath + " 的位置旁有不属于任何 BCD 存储的事务日志，无法删除：它会改写换回的 BCD 存储。";
    case RestoreRefusal::SystemStoreNotSaved:
        return "正在运行的系统所用的 BCD 存储 " + report.storePath + " 无法另存（" +
               (report.error == 0 ? std::string("它所在的文件夹无法列出") : ErrorNumber(report.error)) +
               "）：没有它的副本就不换回。请在 " + report.storePath.substr(0, 2) +
               " 上腾出空间，或从 WinPE 启动后再换回。";
    case RestoreRefusal::SystemStoreNotRestored:
        return "正在运行的系统所用的 BCD 存储 " + report.storePath +
               " 只能通过注册表换回，这需要“还原文件和目录”权限（SeRestorePrivilege），本程序没有得到：请从 WinPE 启动后再换回。";
    }
    return {};
}

std::string CopyName(const RestoreReport& report) {
    return FileNameOf(report.copyPath);
}

// What lies where after a restore that did not put the copy in place.
std::string StoppedText(const RestoreReport& report) {
    std::string text;
    if (report.stop == RestoreStop::RegistryNotRestored) {
        text = "没能通过注册表换回正在运行的系统所用的 BCD 存储 " + report.storePath + "（" + ErrorNumber(report.error) +
               "）：请从 WinPE 启动后再换回。\r\n";
    } else if (report.stop == RestoreStop::CopyNotMoved) {
        text = "没能换回：旧副本 " + report.copyPath + " 无法移到 " + report.storePath + "。\r\n";
    } else {
        text = "换回已中止" + BracketedError(*report.failure) + "。\r\n";
    }
    if (!report.replacedKeptAt.empty()) {
        text += "原来的 BCD 存储现在在 " + report.replacedKeptAt + "。\r\n";
    } else if (report.replaced) {
        text += "原来的 BCD 存储在原处 " + report.storePath + "。\r\n";
    }
    return text + "旧副本仍在 " + report.copyPath + "。";
}

std::string CheckText(const RestoreReport& report) {
    std::string text;
    if (report.check.passed()) {
        text = "检查通过：它能读取，默认启动项是这台电脑上的系统的 Windows 启动项。";
    } else {
        text = "检查发现它不能正常引导：";
        for (const StoreFinding& finding : report.check.findings) text += "\r\n　" + FindingText(finding, report.firmware);
        text += "\r\n可以换回另一个旧副本，或重新修复引导。";
    }
    if (report.check.matchedByFolderOnly) text += "\r\n（系统没有告知各系统所在的分区，启动项只按 Windows 文件夹核对。）";
    if (!report.withoutLoader.empty()) {
        text += "\r\n它没有这台电脑上 " + JoinedText(report.withoutLoader, "、") + " 的启动项。";
    }
    return text;
}

std::string RestoredText(const RestoreReport& report) {
    std::string text = report.throughRegistry
                           ? "已通过注册表换回正在运行的系统所用的 BCD 存储 " + report.storePath + "：现在是旧副本 " +
                                 CopyName(report) + " 的内容，这个副本仍留在原处。"
                           : "已换回 BCD 存储 " + report.storePath + "：现在是旧副本 " + CopyName(report) + "。";
    text += report.replacedKeptAt.empty() ? "\r\n换回前这里没有 BCD 存储。"
                                          : "\r\n换回前的 BCD 存储保留为 " + report.replacedKeptAt + "。";
    for (const StoreEvent& step : report.steps) {
        if (step.step == StoreStep::LogNotMoved) text += "\r\n事务日志 " + step.detail + " 没能随 BCD 存储移动。";
    }
    if (report.failure) return text + "\r\n换回后无法读回检查" + BracketedError(*report.failure) + "。";
    return text + "\r\n" + CheckText(report);
}

} // namespace

Message RestoreRefusalMessage(const RestoreReport& report) {
    return {RefusalReason(report) + "\r\n没有换回，没有做任何更改。", WarningTitle, MessageStyle::Error};
}

Message RestoreOutcomeMessage(const RestoreReport& report) {
    if (!report.restored) return {StoppedText(report), ErrorTitle, MessageStyle::Error};
    if (report.restoredClean()) return {RestoredText(report), NoteTitle, MessageStyle::Information};
    return {RestoredText(report), WarningTitle, MessageStyle::Error};
}

LogLines RestoreStartLines(const LocalTime& time, const RestoreReport& report) {
    return {"", "=== 换回 BCD 存储开始 " + DateTimeText(time) + " ===", "BCD 存储：" + report.storePath,
            "换回为旧副本：" + report.copyPath};
}

LogLines RestoreEndLines(const LocalTime& time, const RestoreReport& report) {
    LogLines lines{"=== 换回结束 " + DateTimeText(time) + " ==="};
    if (report.refusal != RestoreRefusal::None) {
        lines.push_back("没有换回，没有做任何更改：" + RefusalReason(report));
        return lines;
    }
    Indented(lines, report.restored ? RestoredText(report) : StoppedText(report), "");
    if (report.replaced) {
        for (std::string& line : StoreListingLines("换回前的 BCD 存储", *report.replaced)) lines.push_back("  " + line);
    }
    if (report.after) {
        for (std::string& line : StoreListingLines("换回后的 BCD 存储", *report.after)) lines.push_back("  " + line);
    }
    return lines;
}

} // namespace orvanta
