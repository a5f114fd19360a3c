#include "app/texts/StoreStates.h"

#include "app/phrases/StoreTexts.h"
#include "app/texts/UserMessages.h"

namespace orvanta {
namespace {

// ERROR_BAD_EXE_FORMAT and ERROR_EXE_MACHINE_TYPE_MISMATCH.
bool IsForAnotherWindows(const PlatformError& error) {
    return error.number() == 193 || error.number() == 216;
}

std::string SavedContentText(const StoreReport& store) {
    return store.oldStoreKept.empty() ? "修复前的内容没能另存" : "修复前的内容保存在 " + store.oldStoreKept;
}

std::string StateText(const StoreReport& store) {
    switch (store.outcome) {
    case StoreOutcome::Repaired:
    case StoreOutcome::FailedCheck: return store.inPlace ? "已在原处更新" : "已重建";
    case StoreOutcome::PutBack:
    case StoreOutcome::Restored: return "已恢复为修复前的样子";
    case StoreOutcome::LeftBeside: return "没能放回原处，旧 BCD 存储留在 " + store.oldStoreKept;
    case StoreOutcome::LeftInPlace: return "留在原处，可能已被工具改动，" + SavedContentText(store);
    case StoreOutcome::NotRepaired:
        return store.inPlace ? "留在原处，可能已被工具改动，" + SavedContentText(store) : "工具没有修复它";
    case StoreOutcome::Missing: return {};
    }
    return {};
}

bool EveryStoreWentBack(const RepairReport& report) {
    bool any = false;
    for (const StoreReport* store : {&report.bios, &report.uefi}) {
        if (store->outcome == StoreOutcome::Missing) continue;
        if (store->outcome != StoreOutcome::PutBack && store->outcome != StoreOutcome::Restored) return false;
        any = true;
    }
    return any;
}

} // namespace

std::string StoreStateLines(const RepairReport& report) {
    std::string lines;
    for (const StoreReport* store : {&report.bios, &report.uefi}) {
        const std::string state = StateText(*store);
        if (state.empty()) continue;
        lines += (lines.empty() ? "" : "\r\n") + FirmwareName(store->firmware) + " 的 BCD 存储 " + store->path + "：" +
                 state + "。";
    }
    return lines;
}

Message AbortMessage(const RepairReport& report) {
    std::string text = "修复已中止：" + StopReasonText(report) + "。";
    const std::string states = EveryStoreWentBack(report) ? "BCD 存储都已恢复为修复前的样子。" : StoreStateLines(report);
    if (!states.empty()) text += "\r\n" + states;
    if (report.error && IsForAnotherWindows(*report.error)) {
        text += "\r\n错误 193 和 216 通常表示这个工具是为另一种 Windows 制作的（例如在 32 位 WinPE 中运行了 64 位的工具），"
                "或者文件已损坏：请换用与正在运行的 Windows 或 WinPE 位数相同的完好工具，再重新修复。";
    }
    return {text, ErrorTitle, MessageStyle::Error};
}

Message SettleFailedMessage(const RepairReport& report) {
    std::string text = "放回或保留旧 BCD 存储时出错" +
                       (report.settleError ? BracketedError(*report.settleError) : std::string()) + "。\r\n" +
                       StoreStateLines(report) +
                       "\r\n留在旁边的旧 BCD 存储是完好的：下次修复时本程序会先处理它，也可以手动把它改回原来的名字。";
    return {text, ErrorTitle, MessageStyle::Error};
}

} // namespace orvanta
