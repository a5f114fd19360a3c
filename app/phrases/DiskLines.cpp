#include "app/phrases/DiskLines.h"

namespace orvanta {
namespace {

std::string StyleName(PartitionStyle style) {
    switch (style) {
    case PartitionStyle::Mbr: return "MBR";
    case PartitionStyle::Gpt: return "GPT";
    case PartitionStyle::Raw: return "未分区";
    }
    return {};
}

std::string ReasonText(SystemPartitionReason reason) {
    switch (reason) {
    case SystemPartitionReason::OnDefaultDisk: return "它在第一个找到的系统所在的磁盘上";
    case SystemPartitionReason::FirstNotOnUsb: return "第一个找到的系统所在的磁盘上没有，它是第一个不在 USB 磁盘上的";
    case SystemPartitionReason::None: return "";
    }
    return {};
}

} // namespace

std::string PlaceText(std::uint32_t disk, std::uint32_t partition) {
    return "磁盘 " + std::to_string(disk) + " 分区 " + std::to_string(partition);
}

std::string BusName(std::uint32_t bus) {
    static const char* const Names[] = {"未知", "SCSI", "ATAPI", "ATA", "1394", "SSA", "Fibre Channel", "USB", "RAID",
                                        "iSCSI", "SAS", "SATA", "SD", "MMC", "虚拟", "文件虚拟盘", "存储空间", "NVMe",
                                        "SCM", "UFS"};
    return bus < std::size(Names) ? Names[bus] : "总线 " + std::to_string(bus);
}

std::string MegabytesText(std::uint64_t bytes, bool roundUp) {
    constexpr std::uint64_t MiB = 1024 * 1024;
    const std::uint64_t tenths = (bytes * 10 + (roundUp ? MiB - 1 : 0)) / MiB;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB";
}

std::string BootCodeName(MasterBootCodeKind kind) {
    switch (kind) {
    case MasterBootCodeKind::Empty: return "空的（没有引导代码）";
    case MasterBootCodeKind::Windows: return "Windows 的引导代码";
    case MasterBootCodeKind::OlderWindows: return "Windows XP 或更早的引导代码";
    case MasterBootCodeKind::Grub: return "GRUB 的引导代码";
    case MasterBootCodeKind::VeraCrypt: return "VeraCrypt 的引导程序";
    case MasterBootCodeKind::TrueCrypt: return "TrueCrypt 的引导程序";
    case MasterBootCodeKind::Unknown: return "无法识别的引导代码";
    }
    return {};
}

std::string EncryptionSuffix(VolumeEncryption encryption) {
    switch (encryption) {
    case VolumeEncryption::None: return "";
    case VolumeEncryption::Encrypted: return "，BitLocker：已加密";
    case VolumeEncryption::Locked: return "，BitLocker：已锁定";
    }
    return {};
}

std::vector<std::string> DiskLines(const std::vector<Disk>& disks) {
    std::vector<std::string> lines{disks.empty() ? "磁盘：无" : "磁盘："};
    for (const Disk& disk : disks) {
        std::string line = "  磁盘 " + std::to_string(disk.number) + "：" + StyleName(disk.layout.style) + "，总线 " +
                           BusName(disk.busType);
        if (disk.sectorSize != 0) line += "，扇区 " + std::to_string(disk.sectorSize) + " 字节";
        if (disk.layout.style == PartitionStyle::Mbr) {
            const auto active = ActivePartitionOf(disk);
            line += active ? "，活动分区：分区 " + std::to_string(*active) : std::string("，没有活动分区");
            line += "，主引导记录：" + (disk.masterBootCode ? BootCodeName(*disk.masterBootCode) : std::string("无法读取"));
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> SystemPartitionListLines(const MachineSurvey& survey, const std::string& chosenLetter) {
    const auto& partitions = survey.systemPartitions;
    if (partitions.size() < 2 && survey.systemPartition) return {};
    if (partitions.empty()) return {};
    std::string head = "  找到 " + std::to_string(partitions.size()) + " 个 EFI 系统分区";
    if (const auto& chosen = survey.systemPartition) {
        head += "，选用" + PlaceText(chosen->disk, chosen->partition) + "：" + ReasonText(survey.systemPartitionReason);
    } else {
        head += "，都在 USB 磁盘上，没有选用";
    }
    std::vector<std::string> lines{head};
    for (const SystemPartition& esp : partitions) {
        const bool chosen = survey.systemPartition == esp;
        const std::string letter = chosen && !chosenLetter.empty() ? chosenLetter : esp.driveName;
        lines.push_back("  " + PlaceText(esp.disk, esp.partition) + "，" + MegabytesText(esp.size) + "，总线 " +
                        BusName(esp.busType) + "，" + (letter.empty() ? std::string("没有盘符") : "盘符 " + letter));
    }
    return lines;
}

std::vector<std::string> BootPartitionLines(const RepairPlan& plan) {
    std::vector<std::string> lines;
    if (const auto& place = plan.bootPlace) {
        std::string line = "引导盘所在：" + PlaceText(place->disk, place->partition) + "，" + StyleName(place->style) + " 磁盘";
        if (place->systemPartition) line += "，EFI 系统分区";
        if (place->style == PartitionStyle::Mbr) {
            line += place->isActive() ? "，活动分区" : "，不是活动分区";
            line += "，主引导记录：" + (place->bootCode ? BootCodeName(*place->bootCode) : std::string("无法读取"));
        }
        lines.push_back(line);
    }
    if (const auto& room = plan.room) {
        lines.push_back("引导盘可用空间：" + MegabytesText(room->freeBytes) + "，引导文件需要约 " +
                        MegabytesText(room->neededBytes, true));
    }
    return lines;
}

} // namespace orvanta
