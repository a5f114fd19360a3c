#include "app/texts/PlanTexts.h"

#include "app/texts/BootFileTexts.h"
#include "app/phrases/DiskLines.h"
#include "app/phrases/JoinedText.h"
#include "app/texts/PreflightTexts.h"
#include "app/texts/UnansweredTexts.h"
#include "repair/stores/StoreNames.h"

namespace orvanta {
namespace {

std::string RunWarningCode(RunWarning warning) {
    switch (warning) {
    case RunWarning::EncryptedDefault: return "encryptedDefault";
    case RunWarning::BiosGptDisk: return "biosGptDisk";
    case RunWarning::BiosNotActive: return "biosNotActive";
    case RunWarning::UefiNotSystemPartition: return "uefiNotSystemPartition";
    case RunWarning::ForeignBootCode: return "foreignBootCode";
    case RunWarning::BootFileDamaged: return "bootFileDamaged";
    case RunWarning::EveryBootManagerRefused: return "everyBootManagerRefused";
    }
    return "unknown";
}

std::string UefiStoreNotStartableText(const RepairPlan& plan) {
    const std::string& boot = plan.bootPartition;
    const std::string fileSystem = plan.bootFileSystem.empty() ? "文件系统无法识别" : "是 " + plan.bootFileSystem + " 分区";
    return "UEFI 的 BCD 存储会写在 " + boot + "，但 " + boot + " " + fileSystem +
           "：UEFI 固件只能从 FAT32 格式的 EFI 系统分区启动，修复后 UEFI 固件无法从 " + boot + " 启动。";
}

std::string StoreStepText(const PlannedStore& store) {
    const std::string folder = FolderOf(store.path);
    const std::string copy = "保留在 " + folder + "，名为 " + KeptCopyNameForm(store.path);
    switch (store.step) {
    case PlannedStoreStep::Create: return "不存在，由 bcdboot 新建";
    case PlannedStoreStep::MoveAside:
        return "修复时先移到 " + BackupPathOf(store.path) + "；工具成功后旧 BCD 存储" + copy + "，失败则放回原处";
    case PlannedStoreStep::SaveFromRegistry:
        return "正在运行的系统打开着它：修复前通过注册表另存一份，" + copy + "，再由工具在原处更新";
    case PlannedStoreStep::RefusedHeld:
        return "正被其他程序打开" + (store.holders.empty() ? std::string() : "（" + JoinedText(store.holders, "、") + "）") +
               "：修复会被拒绝";
    }
    return {};
}

std::string LeftoverText(const PlannedStore& store) {
    if (!store.leftoverBackup) return "";
    return store.step == PlannedStoreStep::Create ? "上次中断的修复留下了 " + BackupPathOf(store.path) + "，会先放回原处；"
                                                  : "上次中断的修复留下的 " + BackupPathOf(store.path) + " 会先保留为副本；";
}

} // namespace

std::string RefusalCode(Refusal refusal) {
    switch (refusal) {
    case Refusal::None: return "none";
    case Refusal::ToolsMissing: return "toolsMissing";
    case Refusal::BadBootPartition: return "badBootPartition";
    case Refusal::NotElevated: return "notElevated";
    case Refusal::EncryptedBootPartition: return "encryptedBootPartition";
    case Refusal::EncryptingBootLoader: return "encryptingBootLoader";
    case Refusal::NotEnoughRoom: return "notEnoughRoom";
    }
    return "none";
}

std::vector<WarningBeforeRun> WarningsBeforeRun(const RepairPlan* plan, const UefiContext& uefi, const MachineSurvey& survey) {
    std::vector<WarningBeforeRun> warnings;
    // Disks first, then drives, as the lines come.
    const std::vector<std::string> unanswered = UnansweredLines(survey);
    for (std::size_t index = 0; index < unanswered.size(); ++index) {
        warnings.push_back({index < survey.unansweredDisks.size() ? "diskNotAnswering" : "driveNotAnswering", unanswered[index]});
    }
    if (plan == nullptr) return warnings;
    for (const RunWarning warning : plan->warnings) warnings.push_back({RunWarningCode(warning), RunWarningText(warning, *plan, uefi)});
    if (plan->refusal == Refusal::None && !UefiStoreStartable(*plan, uefi)) {
        warnings.push_back({"uefiStoreNotStartable", UefiStoreNotStartableText(*plan)});
    }
    return warnings;
}

LogLines RepairPlanLines(const RepairPlan& plan, const std::vector<PlannedStore>& stores, const std::vector<ToolCall>& calls) {
    LogLines lines{"", "修复计划（只查看，不做任何更改）：",
                   "引导盘：" + plan.bootPartition + "（" + (plan.bootFileSystem.empty() ? "文件系统未知" : plan.bootFileSystem) + "）"};
    for (std::string& line : BootPartitionLines(plan)) lines.push_back(std::move(line));
    lines.push_back("修复顺序（最后一个为默认系统）：" + JoinedText(plan.runOrder, "，"));
    if (plan.uefiBootFiles) {
        for (std::string& line : UefiBootFileLines(*plan.uefiBootFiles)) lines.push_back(std::move(line));
    }
    if (!stores.empty()) lines.push_back("BCD 存储：");
    for (const PlannedStore& store : stores) lines.push_back("  " + store.path + "：" + LeftoverText(store) + StoreStepText(store));
    if (calls.empty()) return lines;
    lines.push_back("依次运行的命令：");
    for (const ToolCall& call : calls) lines.push_back("  " + call.commandLine());
    lines.push_back("Bin 文件夹里的 bcdboot 失败时，改用该系统自带的 bcdboot 以相同参数再运行一次。");
    return lines;
}

LogLines PlanWarningLines(const std::vector<WarningBeforeRun>& warnings) {
    if (warnings.empty()) return {};
    LogLines lines{"警告："};
    for (const WarningBeforeRun& warning : warnings) lines.push_back("  " + warning.text);
    return lines;
}

std::string PlanVerdictLine(int exitCode, std::size_t warnings) {
    const std::string nothing = "以上只是计划，没有做任何更改。";
    if (exitCode == 0) return "结论：可以修复，没有警告（退出代码 0）。" + nothing;
    if (exitCode == 1) {
        return "结论：可以修复，但有 " + std::to_string(warnings) + " 条警告，/repair 不询问、照样修复，退出代码至少为 1。" + nothing;
    }
    return "结论：修复会被拒绝（退出代码 2）。" + nothing;
}

std::string KeptCopyNameForm(const std::string& storePath) {
    return FileNameOf(storePath) + ".orvanta-<编号>-<日期>-<时间>（检查通过的再加 -ok）";
}

} // namespace orvanta
