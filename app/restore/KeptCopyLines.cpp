#include "app/restore/KeptCopyLines.h"

#include "app/phrases/JoinedText.h"
#include "app/phrases/StoreTexts.h"

namespace orvanta {
namespace {

// "第 3 个，保存于 2026-12-08 15:31:02，当时通过了检查"; copies named in
// the earlier form carry no mark. The time is the PC's clock's.
std::string CopyFacts(const KeptCopy& copy) {
    if (!copy.numbered) return "早期的副本，保存于 " + DateTimeText(copy.time);
    return "第 " + std::to_string(copy.number) + " 个，保存于 " + DateTimeText(copy.time) + "，" +
           (copy.passed ? "当时通过了检查" : "当时没有通过检查");
}

std::string EntriesLine(const ListedCopy& copy) {
    if (copy.fault != StoreFault::None) return StoreFaultText(copy.fault);
    std::vector<std::string> loaders;
    for (const ListedEntry& loader : copy.loaders) loaders.push_back(ListedEntryText(loader));
    const std::string defaultText = !copy.bootManager    ? "没有 Windows 启动管理器"
                                    : copy.defaultEntry ? "默认：" + ListedEntryText(*copy.defaultEntry)
                                                        : "默认：无";
    return defaultText + "；Windows 启动项：" + (loaders.empty() ? std::string("无") : JoinedText(loaders, "，"));
}

void StoreLines(LogLines& lines, const StoreCopies& store) {
    const std::string heading = "BCD 存储 " + store.storePath + "：";
    if (!store.listed) {
        lines.push_back(heading + "它的文件夹不存在或无法列出");
        return;
    }
    if (store.copies.empty()) {
        lines.push_back(heading + "没有旧副本");
        return;
    }
    lines.push_back(heading + "旧副本 " + std::to_string(store.copies.size()) + " 个（从旧到新）");
    for (const ListedCopy& copy : store.copies) {
        lines.push_back("  " + copy.path);
        lines.push_back("    " + CopyFacts(copy.copy));
        lines.push_back("    " + EntriesLine(copy));
    }
}

} // namespace

std::string ListedEntryText(const ListedEntry& listed) {
    const BcdObject& entry = listed.entry;
    const std::string description = entry.description.empty() ? entry.identifier : entry.description;
    if (!listed.installation.empty()) return "“" + description + "”（" + listed.installation + "）";
    if (entry.type != WindowsLoaderType) return EntryName(entry);
    const std::optional<BcdDevice>& system = entry.osDevice ? entry.osDevice : entry.device;
    return "“" + description + "”（" + (system ? DeviceText(*system) : std::string("未知设备")) + " " +
           entry.systemRoot + "）";
}

LogLines KeptCopyLines(const std::string& bootPartition, const std::vector<StoreCopies>& stores,
                       const std::string& restoreCommand) {
    LogLines lines{"引导盘 " + bootPartition + " 上保留的旧 BCD 存储："};
    const ListedCopy* newest = nullptr;
    for (const StoreCopies& store : stores) {
        StoreLines(lines, store);
        if (!store.copies.empty()) newest = &store.copies.back();
    }
    if (newest == nullptr) return lines;
    lines.push_back("换回其中一个（需要管理员权限），例如：");
    lines.push_back("  " + restoreCommand + " " + newest->path);
    return lines;
}

} // namespace orvanta
