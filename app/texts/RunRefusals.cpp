#include "app/texts/RunRefusals.h"

#include "app/phrases/JoinedText.h"
#include "app/texts/UserMessages.h"
#include "platform/errors/SystemErrors.h"

namespace orvanta {
namespace {

constexpr const char* NothingChanged = "修复未开始，没有做任何更改。";

Message RefusedRun(std::string text) {
    return {std::move(text) + "\r\n" + NothingChanged, WarningTitle, MessageStyle::Error};
}

bool IsNoRoom(std::uint32_t error) {
    return error == DiskFullError || error == HandleDiskFullError;
}

bool IsNoBackupRight(std::uint32_t error) {
    return error == PrivilegeNotHeldError || error == AccessDeniedError;
}

// What to do when the running system's store could not be saved.
std::string SaveAdvice(const StoreRefusal& refusal) {
    const std::string room = "请在 " + refusal.path.substr(0, 2) + " 上腾出空间（例如删除不需要的文件），再重新修复。";
    const std::string right = "另存它需要管理员的“备份文件和目录”权限（SeBackupPrivilege）：请用有这个权限的管理员帐户运行，"
                              "或在组策略中恢复这个权限，也可以从 WinPE 启动后再修复。";
    if (IsNoRoom(refusal.error)) return room;
    if (IsNoBackupRight(refusal.error)) return right;
    return room + "\r\n" + right;
}

} // namespace

Message AnotherRepairMessage() {
    return RefusedRun("另一个 Orvanta 正在修复系统引导，请等它完成后再修复。");
}

std::string StoreRefusalReasonText(const StoreRefusal& refusal) {
    if (refusal.reason == StoreRefusalReason::HeldByProgram) {
        const std::string holders = JoinedText(refusal.holders, "、");
        return "BCD 存储 " + refusal.path + " 正被" + (holders.empty() ? "其他程序" : "程序“" + holders + "”") +
               "使用，它不是正在运行的系统所用的 BCD 存储";
    }
    const std::string why = refusal.error == 0 ? "它所在的文件夹无法列出" : "错误 " + std::to_string(refusal.error);
    return "正在运行的系统所用的 BCD 存储 " + refusal.path + " 无法另存（" + why + "）";
}

Message StoreRefusalMessage(const StoreRefusal& refusal) {
    if (refusal.reason == StoreRefusalReason::HeldByProgram) {
        return RefusedRun(StoreRefusalReasonText(refusal) + "，本程序不会改动它。\r\n请先关闭" +
                       std::string(refusal.holders.empty()       ? "打开它的程序"
                        : refusal.holders.size() == 1 ? "这个程序"
                                                      : "这些程序") + "，再重新修复。");
    }
    return RefusedRun(StoreRefusalReasonText(refusal) + "：修复工具会直接改写它，没有副本就无法恢复。\r\n" +
                   SaveAdvice(refusal));
}

LogLines RepairLockLines(const RepairLock& lock) {
    switch (lock.state()) {
    case LockState::HolderDied:
        return {"上一个修复系统引导的 Orvanta 没有正常结束：它留下的旧 BCD 存储按中断的修复处理"};
    case LockState::Unavailable:
        return {"无法确认是否有另一个 Orvanta 正在修复（错误 " + std::to_string(lock.error()) + "），照常修复"};
    case LockState::Taken:
    case LockState::HeldByAnother: return {};
    }
    return {};
}

} // namespace orvanta
