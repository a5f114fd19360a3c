#include "app/texts/BootEntryLines.h"

#include <algorithm>
#include <cstdio>

#include "app/texts/UefiLogLines.h"
#include "discovery/firmware/LoadOption.h"
#include "platform/errors/SystemErrors.h"
#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

std::string PartitionText(const HardDriveNode& drive) {
    if (drive.signatureType == GuidSignatureType) return "GPT 分区 " + GuidText(drive.signature);
    char text[96];
    std::snprintf(text, sizeof text, "MBR 磁盘 %08X 分区 %u（起始扇区 %llu）", static_cast<unsigned>(drive.mbrDiskSignature()),
                  static_cast<unsigned>(drive.partitionNumber), static_cast<unsigned long long>(drive.startLba));
    return drive.signatureType == MbrSignatureType ? text : "分区 " + std::to_string(drive.partitionNumber);
}

std::string FaultText(LoadOptionFault fault) {
    switch (fault) {
    case LoadOptionFault::None: break;
    case LoadOptionFault::Truncated: return "比它的长度短";
    case LoadOptionFault::UnterminatedDescription: return "描述没有结尾";
    case LoadOptionFault::BadNodeLength: return "设备路径的节点长度有误";
    case LoadOptionFault::NoEndNode: return "设备路径没有结束节点";
    }
    return {};
}

// "Boot0003 “Windows Boot Manager”：GPT 分区 {…}，\EFI\Microsoft\Boot\bootmgfw.efi"
std::string EntryLine(const BootEntry& entry, const UefiBootState& state) {
    std::string line = "  " + BootEntryName(entry.number);
    if (entry.option.error != 0) return line + "：无法读取（" + VariableErrorText(entry.option.error) + "）";
    const LoadOption& option = entry.option.value;
    if (option.path.empty() && option.fault != LoadOptionFault::None) return line + "：内容有误（" + FaultText(option.fault) + "）";
    line += " “" + option.description + "”：";
    std::string where, file;
    for (const DevicePathNode& node : option.path) {
        if (node.hardDrive && where.empty()) where = PartitionText(*node.hardDrive);
        if (node.filePath) file += *node.filePath;
    }
    if (where.empty() && !option.path.empty() && option.path.front().type != EndNodeType) {
        where = DevicePathNodeName(option.path.front());
    }
    line += where.empty() ? "没有设备路径" : where;
    if (!file.empty()) line += "，" + file;
    if ((option.attributes & LoadOptionActive) == 0) line += "（已停用）";
    if (state.bootCurrent.error == 0 && state.bootCurrent.value == entry.number) line += "（本次从它启动）";
    if (option.fault != LoadOptionFault::None) line += "（内容有误：" + FaultText(option.fault) + "）";
    return line;
}

// Why the names of the variables weren't taken.
std::string NameListText(std::uint32_t error) {
    if (error == FunctionMissingError) return "系统不能列出固件变量的名称";
    if (error == InvalidDataError) return "系统列出的固件变量名称有误";
    return "无法列出固件变量的名称（" + VariableErrorText(error) + "）";
}

// How the entries outside BootOrder were looked for, when not all could be.
std::string SearchNote(const UefiBootState& state) {
    if (state.entrySearch == BootEntrySearch::Probed) {
        return "  （" + NameListText(state.nameListError) + "，只查找了 Boot0000 到 Boot" +
               UpperHexDigits(LastProbedBootEntry, 4) + "，更大的编号没有查找）";
    }
    if (state.moreEntries) {
        return "  （不在启动顺序里的固件启动项超过 " + std::to_string(MostUnorderedEntriesRead) + " 个，其余的没有读取）";
    }
    return "";
}

} // namespace

void AddBootEntryLines(LogLines& lines, const UefiBootState& state) {
    const VariableReading<std::vector<std::uint16_t>>& order = state.bootOrder;
    if (order.error != 0 && order.error != VariableNotFoundError) {
        return lines.push_back("固件启动项：无法读取 BootOrder（" + VariableErrorText(order.error) + "）");
    }
    LogLines outside;
    if (order.error == VariableNotFoundError) {
        lines.push_back("固件启动顺序：没有（固件里没有 BootOrder 变量）");
    } else {
        const bool none = std::none_of(state.entries.begin(), state.entries.end(), [&](const BootEntry& entry) {
            return std::find(order.value.begin(), order.value.end(), entry.number) != order.value.end();
        });
        lines.push_back("固件启动项（按启动顺序）：" + std::string(none ? "无" : ""));
    }
    for (const BootEntry& entry : state.entries) {
        const bool ordered = std::find(order.value.begin(), order.value.end(), entry.number) != order.value.end();
        (ordered ? lines : outside).push_back(EntryLine(entry, state));
    }
    if (!outside.empty()) lines.push_back("不在启动顺序里的固件启动项：");
    lines.insert(lines.end(), outside.begin(), outside.end());
    if (const std::string note = SearchNote(state); !note.empty()) lines.push_back(note);
}

} // namespace orvanta
