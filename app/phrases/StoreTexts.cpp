#include "app/phrases/StoreTexts.h"

#include <algorithm>
#include <cstdio>

#include "discovery/bytes/Guid.h"

namespace orvanta {
namespace {

std::string Identifier(const std::string& identifier) {
    const std::string name = WellKnownName(identifier);
    return name.empty() ? identifier : name;
}

std::string Field(const char* name, const std::string& value) {
    std::string line = "  " + std::string(name);
    line.resize(std::max<std::size_t>(line.size() + 1, 26), ' ');
    return line + value;
}

std::string Joined(const std::vector<std::string>& identifiers) {
    std::string text;
    for (const std::string& identifier : identifiers) text += (text.empty() ? "" : " ") + Identifier(identifier);
    return text;
}

// Windows RE: a loader on a ramdisk made from a file on a partition (WinPE
// and install media start theirs from the boot device).
bool IsRecoveryEnvironment(const BcdObject& entry) {
    return entry.type == WindowsLoaderType && entry.device && entry.device->kind == BcdDeviceKind::Ramdisk &&
           entry.device->fileOn == BcdDeviceKind::Partition;
}

void EntryLines(std::vector<std::string>& lines, const BcdObject& object, const BcdObject* manager, bool missing) {
    lines.push_back("  " + ObjectTypeName(object.type) + (manager && manager->defaultEntry == object.identifier ? "（默认）" : ""));
    lines.push_back(Field("identifier", Identifier(object.identifier)));
    if (missing) lines.push_back("  ！它所在的分区在本机的磁盘上都找不到");
    if (object.device) lines.push_back(Field("device", DeviceText(*object.device)));
    if (!object.path.empty()) lines.push_back(Field("path", object.path));
    if (!object.description.empty()) lines.push_back(Field("description", object.description));
    if (!object.defaultEntry.empty()) lines.push_back(Field("default", Identifier(object.defaultEntry)));
    if (!object.displayOrder.empty()) lines.push_back(Field("displayorder", Joined(object.displayOrder)));
    if (object.timeout) lines.push_back(Field("timeout", std::to_string(*object.timeout)));
    if (!object.recoverySequence.empty()) lines.push_back(Field("recoverysequence", Joined(object.recoverySequence)));
    if (object.osDevice) lines.push_back(Field("osdevice", DeviceText(*object.osDevice)));
    if (!object.systemRoot.empty()) lines.push_back(Field("systemroot", object.systemRoot));
}

// Where a device lies, as bcdedit names it inside "partition=" or "[…]".
std::string PlaceText(const BcdDevice& device) {
    const BcdDeviceKind place = device.kind == BcdDeviceKind::Partition ? BcdDeviceKind::Partition : device.fileOn;
    if (place == BcdDeviceKind::Boot) return "boot";
    if (place == BcdDeviceKind::Locate) return "locate";
    if (!device.partition) return "未知设备";
    if (device.partition->style == PartitionStyle::Gpt) return "GPT 分区 " + GuidText(device.partition->gptId);
    char text[64];
    std::snprintf(text, sizeof text, "MBR 磁盘 %08X 偏移 %llu", static_cast<unsigned>(device.partition->mbrSignature),
                  static_cast<unsigned long long>(device.partition->mbrOffset));
    return text;
}

// "custom:12000002": the element whose path a locate device searches for.
std::string CustomElement(const BcdDevice& device) {
    char text[24];
    std::snprintf(text, sizeof text, "custom:%08x", static_cast<unsigned>(device.locateElement));
    return text;
}

} // namespace

std::string DeviceText(const BcdDevice& device) {
    std::string text;
    switch (device.kind) {
    case BcdDeviceKind::Partition: text = "partition=" + PlaceText(device); break;
    case BcdDeviceKind::Boot: text = "boot"; break;
    case BcdDeviceKind::Ramdisk: text = "ramdisk=[" + PlaceText(device) + "]" + device.file; break;
    case BcdDeviceKind::File: text = "file=[" + PlaceText(device) + "]" + device.file; break;
    case BcdDeviceKind::Vhd: text = "vhd=[" + PlaceText(device) + "]" + device.file; break;
    case BcdDeviceKind::Locate:
        if (device.file.empty()) return device.locateElement == 0 ? "locate" : "locate=" + CustomElement(device);
        text = "[locate]" + device.file;
        break;
    case BcdDeviceKind::Unknown: return "未知设备";
    }
    if (device.kind == BcdDeviceKind::Ramdisk && !device.options.empty()) text += "," + Identifier(device.options);
    if (device.locateElement != 0) text += ",locate=" + CustomElement(device);
    return text;
}

std::string ObjectTypeName(std::uint32_t type) {
    switch (type) {
    case FirmwareBootManagerType: return "固件启动管理器";
    case BootManagerType: return "Windows 启动管理器";
    case WindowsLoaderType: return "Windows 启动加载器";
    case ResumeType: return "从休眠状态恢复";
    case MemoryTesterType: return "Windows 内存测试程序";
    case FirmwareEntryType: return "固件启动项";
    case 0x10300006: return "旧版操作系统加载器";
    case 0x10400008: return "实模式启动扇区";
    default: {
        char text[48];
        std::snprintf(text, sizeof text, "启动应用程序（类型 0x%08X）", static_cast<unsigned>(type));
        return text;
    }
    }
}

std::string EntryName(const BcdObject& entry) {
    const std::string description = entry.description.empty() ? Identifier(entry.identifier) : entry.description;
    return "“" + description + "”（" + ObjectTypeName(entry.type) + "）";
}

std::string StoreFaultText(StoreFault fault) {
    switch (fault) {
    case StoreFault::NotAHive: return "无法读取（不是注册表配置单元文件）";
    case StoreFault::Damaged: return "无法读取（文件已损坏或读不出来）";
    case StoreFault::NotAStore: return "无法读取（不是 BCD 存储）";
    case StoreFault::None: return {};
    }
    return {};
}

std::string FirmwareName(StoreFirmware firmware) {
    return firmware == StoreFirmware::Bios ? "BIOS" : "UEFI";
}

std::string FindingText(const StoreFinding& finding, StoreFirmware firmware) {
    switch (finding.problem) {
    case StoreProblem::Unreadable: return "新 BCD 存储无法读取。";
    case StoreProblem::NoBootManager: return "没有 Windows 启动管理器。";
    case StoreProblem::NoDefault:
        if (finding.installation.empty()) return "默认启动项不是已安装系统的 Windows 启动项。";
        return "默认启动项不是 Windows 启动项，应为默认系统 " + finding.installation + "。";
    case StoreProblem::DefaultNotHere:
        return "默认启动项“" + finding.entry + "”启动的系统不是这台电脑上找到的系统。";
    case StoreProblem::OtherDefault:
        return "默认启动项“" + finding.entry + "”不是默认系统 " + finding.installation + " 的启动项。";
    case StoreProblem::NoLoader: return "没有 " + finding.installation + " 的启动项。";
    case StoreProblem::TooFewLoaders:
        return "只有 " + std::to_string(finding.found) + " 个 Windows 启动项，修复的系统有 " +
               std::to_string(finding.expected) + " 个。";
    case StoreProblem::WrongProgram:
        return "启动项“" + finding.entry + "”运行 " + finding.detail + "，" + FirmwareName(firmware) + " 固件无法运行它。";
    }
    return {};
}

std::string StepText(const StoreEvent& event) {
    const std::string& detail = event.detail;
    switch (event.step) {
    case StoreStep::BackupPutBack: return "只有上次中断的修复留下的备份，修复前先把它放回原处";
    case StoreStep::LeftoverKept: return "旁边有上次中断的修复留下的备份，已改名保留为 " + detail;
    case StoreStep::MovedAside: return "已移到 " + detail;
    case StoreStep::CouldNotMove:
        return "无法移动，留在原处由工具直接更新；" +
               (detail.empty() ? std::string("修复前的内容没能另存") : "修复前的内容已复制到 " + detail);
    case StoreStep::SavedFromRegistry: return "正被系统使用，留在原处由工具直接更新；修复前的内容已通过注册表保存到 " + detail;
    case StoreStep::CouldNotSave: return "正被系统使用，修复前的内容没能另存，修复没有开始";
    case StoreStep::HeldByProgram: return "正被其他程序使用（不是系统），修复没有开始";
    case StoreStep::KeptAs: return "旧 BCD 存储保留为 " + detail;
    case StoreStep::PutBack: return "工具没有修复它，旧 BCD 存储已放回原处";
    case StoreStep::BackupLeftBeside: return "旧 BCD 存储无法放回原处，留在 " + detail;
    case StoreStep::Restored: return "注销或关机：旧 BCD 存储已放回原处";
    case StoreStep::LeftInPlace:
        return "注销或关机：留在原处，可能已被工具改动；" +
               (detail.empty() ? std::string("修复前的内容没能另存") : "修复前的内容保存在 " + detail);
    case StoreStep::OldCopyRemoved: return "已删除多余的旧 BCD 存储副本 " + detail;
    case StoreStep::CopyNotWritten: return "副本 " + detail + " 没能完整写入，已删除";
    case StoreStep::CopyLeftUnfinished: return "副本 " + detail + " 没能完整写入，也没能删除，它不是完整的 BCD 存储，请删除它";
    case StoreStep::LogNotMoved: return "事务日志 " + detail + " 没能随它移动";
    case StoreStep::LogNotRemoved: return "新 BCD 存储的事务日志 " + detail + " 没能删除";
    case StoreStep::KeptBeforeRestore: return "换回前，原来的 BCD 存储已保留为 " + detail;
    case StoreStep::CopyPutInPlace: return "已换回为旧副本 " + detail;
    case StoreStep::RestoredThroughRegistry: return "正被系统使用：已通过注册表换回为旧副本 " + detail + " 的内容";
    case StoreStep::StrayLogRemoved: return "事务日志 " + detail + " 不属于任何 BCD 存储，换回前已删除";
    case StoreStep::AttributesNotSet: return "没能设为原来的 BCD 存储的属性（只读、隐藏、系统）";
    case StoreStep::ReplacedPutBack: return "没能换回，原来的 BCD 存储已从 " + detail + " 放回原处";
    }
    return {};
}

std::vector<std::string> StoreListingLines(const std::string& heading, const StoreListing& listing) {
    const BcdStoreReading& reading = listing.reading;
    if (!reading.store) return {heading + "：" + StoreFaultText(reading.fault)};
    const BcdStore& store = *reading.store;
    const auto entries = std::count_if(store.objects.begin(), store.objects.end(), [](const BcdObject& object) {
        return IsApplication(object);
    });
    std::vector<std::string> lines{heading + "：启动项 " + std::to_string(entries) + " 个，设置对象 " +
                                   std::to_string(store.objects.size() - static_cast<std::size_t>(entries)) + " 个" +
                                   (store.dirty ? "（上次写入没有完成，按现状读取）" : "")};
    for (const std::string& key : store.skippedKeys) {
        lines.push_back("  已跳过 Objects 下的键“" + key + "”：它的名称不是 GUID，不是启动项也不是设置对象");
    }
    const BcdObject* manager = store.bootManager();
    for (const BcdObject& object : store.objects) {
        if (!IsApplication(object)) continue;
        const bool missing = std::find(listing.onMissingPartitions.begin(), listing.onMissingPartitions.end(),
                                       object.identifier) != listing.onMissingPartitions.end();
        EntryLines(lines, object, manager, missing);
    }
    return lines;
}

std::vector<std::string> DroppedLines(const std::vector<DroppedEntry>& dropped) {
    std::vector<std::string> lines;
    bool recovery = false;
    for (const DroppedEntry& entry : dropped) {
        lines.push_back("  " + EntryName(entry.entry) + (entry.descriptionOnly ? "：新存储里有它，但名称不同" : ""));
        recovery = recovery || (!entry.descriptionOnly && IsRecoveryEnvironment(entry.entry));
    }
    if (recovery) {
        lines.push_back("Windows 恢复环境：请在修复后的 Windows 里以管理员身份运行 reagentc /info，"
                        "再运行 reagentc /disable 和 reagentc /enable。");
    }
    return lines;
}

} // namespace orvanta
