#include "app/texts/PreflightTexts.h"

#include "app/texts/BootFileTexts.h"
#include "app/phrases/DiskLines.h"
#include "app/phrases/JoinedText.h"

namespace orvanta {
namespace {

constexpr const char* NothingChanged = "修复未开始，没有做任何更改。";

Message RefusalOf(const std::string& text) {
    return {text + "\r\n" + NothingChanged, WarningTitle, MessageStyle::Error};
}

std::string DiskText(const RepairPlan& plan) {
    return plan.bootPlace ? "磁盘 " + std::to_string(plan.bootPlace->disk) : std::string("磁盘");
}

// "C:（MBR 磁盘 0 的分区 2）", or "C: " where its place is not known, to stand before a Chinese word.
std::string BootPartitionText(const RepairPlan& plan) {
    if (!plan.bootPlace) return plan.bootPartition + " ";
    const DrivePlace& place = *plan.bootPlace;
    return plan.bootPartition + "（" + (place.style == PartitionStyle::Gpt ? "GPT " : "MBR ") + "磁盘 " +
           std::to_string(place.disk) + " 的分区 " + std::to_string(place.partition) + "）";
}

std::string EspChoiceText(const UefiContext& uefi) {
    return uefi.systemPartition.empty() ? "EFI 系统分区" : "EFI 系统分区 " + uefi.systemPartition;
}

std::string NotActiveText(const RepairPlan& plan) {
    const DrivePlace& place = *plan.bootPlace;
    const std::string disk = std::to_string(place.disk);
    return "固件是 BIOS（传统）模式，引导盘 " + BootPartitionText(plan) + "却不是这个磁盘的活动分区（" +
           (place.activePartition ? "活动分区是分区 " + std::to_string(*place.activePartition) : "它没有活动分区") +
           "）：这种模式下电脑不会从它启动。请在 diskpart 里把它设为活动分区（select disk " + disk +
           "、select partition " + std::to_string(place.partition) + "、active），或改用活动分区作引导盘。";
}

std::string NotSystemPartitionText(const RepairPlan& plan, const UefiContext& uefi) {
    std::string text = "固件是 UEFI 模式，引导盘 " + BootPartitionText(plan) + "是 " + plan.bootFileSystem +
                       " 分区，但不是 EFI 系统分区：UEFI 固件不会从它启动。请改用" + EspChoiceText(uefi) + "作引导盘";
    if (plan.bootPlace->style == PartitionStyle::Mbr) {
        text += "；这个 MBR 磁盘如果没有 EFI 系统分区，可以在固件设置里打开 CSM（传统启动），"
                "或用 mbr2gpt 把它转换为 GPT 磁盘（会建立 EFI 系统分区）";
    }
    return text + "。";
}

std::string ForeignCodeText(const RepairPlan& plan) {
    const bool grub = plan.bootPlace->bootCode == MasterBootCodeKind::Grub;
    return DiskText(plan) + " 的主引导记录里是" + (grub ? " GRUB 的引导代码" : "无法识别的引导代码（可能是另一个系统的引导程序）") +
           "：修复会用 Windows 的引导代码替换它（bootsect /nt60 " + plan.bootPartition + " /mbr），" +
           (grub ? "这个磁盘上的其他系统（如 Linux）" : "其他系统") + "可能无法再从这个磁盘启动。";
}

std::string WarningLines(const RepairPlan& plan, const UefiContext& uefi) {
    std::string lines;
    for (const RunWarning warning : plan.warnings) lines += RunWarningText(warning, plan, uefi) + "\r\n";
    return lines;
}

} // namespace

std::string StatusText(std::size_t installations, const std::vector<std::string>& lockedDrives) {
    const std::string count = InstallationCountText(installations);
    return lockedDrives.empty() ? count : count + "\r\n" + JoinedText(lockedDrives, "、") + " 已被 BitLocker 锁定";
}

std::string UnlockAdvice(const std::vector<std::string>& lockedDrives) {
    if (lockedDrives.empty()) return {};
    std::string text = JoinedText(lockedDrives, "、") + " 已被 BitLocker 锁定，系统可能就在上面。请先解锁，再重新修复：\r\n";
    for (const std::string& drive : lockedDrives) {
        text += "　manage-bde -unlock " + drive + " -RecoveryPassword <48 位恢复密钥>\r\n";
    }
    return text + "Windows 恢复环境（WinRE）里有 manage-bde；普通 WinPE 里没有，除非制作时加入了 WMI 和 Secure Startup 组件。\r\n"
                  "恢复密钥可以在 aka.ms/myrecoverykey 用电脑主人的 Microsoft 账户查到，公司的电脑请向管理员索取。";
}

Message EncryptedBootPartitionMessage(const RepairPlan& plan) {
    return RefusalOf("引导盘 " + plan.bootPartition + " 已用 BitLocker 加密：启动管理器读不了加密的分区，电脑无法从它启动。\r\n"
                   "请改用没有加密的分区作引导盘：UEFI 电脑用 EFI 系统分区，BIOS 电脑用磁盘的活动分区（通常是“系统保留”分区）。");
}

Message EncryptingBootLoaderMessage(const RepairPlan& plan) {
    const std::string name = plan.bootPlace->bootCode == MasterBootCodeKind::TrueCrypt ? "TrueCrypt" : "VeraCrypt";
    return RefusalOf(DiskText(plan) + " 的主引导记录里是 " + name + " 的引导程序：这台电脑的 Windows 可能由 " + name +
                   " 加密，修复要改写主引导记录，改写后这个 Windows 将无法启动。\r\n请用 " + name +
                   " 的救援盘修复引导，或先在 " + name + " 里解密系统分区，再重新修复。");
}

Message NotEnoughRoomMessage(const RepairPlan& plan) {
    const std::string& drive = plan.bootPartition;
    return RefusalOf("引导盘 " + BootPartitionText(plan) + "的可用空间不够：可用 " + MegabytesText(plan.room->freeBytes) +
                   "，写入引导文件需要约 " + MegabytesText(plan.room->neededBytes, true) + "。\r\n请先在 " + drive +
                   " 上腾出空间或扩大这个分区，再重新修复。");
}

std::string RunWarningText(RunWarning warning, const RepairPlan& plan, const UefiContext& uefi) {
    switch (warning) {
    case RunWarning::EncryptedDefault:
        return "默认系统所在的 " + plan.runOrder.back().substr(0, 2) +
               " 已用 BitLocker 加密：改动引导后，下次启动时可能要求输入 BitLocker 恢复密钥，请先准备好恢复密钥"
               "（如果还能进入这个 Windows，在里面以管理员身份运行 manage-bde -protectors -disable C: -RebootCount 1 可以避免）。";
    case RunWarning::BiosGptDisk:
        return "固件是 BIOS（传统）模式，引导盘 " + BootPartitionText(plan) +
               "在 GPT 磁盘上：这种模式下电脑不会从这个磁盘启动。请在固件设置里改为 UEFI 启动，并改用 EFI 系统分区作引导盘。";
    case RunWarning::BiosNotActive: return NotActiveText(plan);
    case RunWarning::UefiNotSystemPartition: return NotSystemPartitionText(plan, uefi);
    case RunWarning::ForeignBootCode: return ForeignCodeText(plan);
    case RunWarning::BootFileDamaged: return BootFileDamagedText(plan);
    case RunWarning::EveryBootManagerRefused: return EveryBootManagerRefusedText(plan);
    }
    return {};
}

Message RunWarningsQuestion(const RepairPlan& plan, const UefiContext& uefi) {
    return {WarningLines(plan, uefi) + "选“否”则不做任何更改。是否继续修复？", WarningTitle, MessageStyle::Warning};
}

Message RunWarningsNotice(const RepairPlan& plan, const UefiContext& uefi) {
    return {WarningLines(plan, uefi) + "命令行不询问，继续修复；因为有这些警告，退出代码至少为 1。", WarningTitle,
            MessageStyle::Warning};
}

} // namespace orvanta
