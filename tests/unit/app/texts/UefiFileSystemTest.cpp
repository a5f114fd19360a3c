#include <gtest/gtest.h>

#include "app/texts/UserMessages.h"

namespace orvanta {
namespace {

// UEFI firmware reads the FAT file systems, whatever case the volume's answer
// has; a UEFI store on any other is a warning, not a success.
TEST(UefiStoreOutcome, EveryFatInAnyCaseIsASuccessAnyOtherFileSystemAWarning) {
    RepairReport report;
    report.uefi.firmware = StoreFirmware::Uefi;
    report.uefi.outcome = StoreOutcome::Repaired;
    const UefiContext uefi{FirmwareMode::Uefi, "S:"};
    const auto shown = [&](const std::string& fileSystem) {
        RepairPlan plan;
        plan.bootPartition = "C:";
        plan.bootFileSystem = fileSystem;
        const std::vector<Message> messages = OutcomeMessages(report, plan, uefi);
        return messages.size() == 1 ? messages[0].text : "";
    };
    for (const char* fat : {"FAT", "FAT12", "FAT16", "FAT32", "fat", "Fat12", "fat16", "fAT32"}) {
        EXPECT_EQ(shown(fat), "UEFI引导修复成功！") << fat;
    }
    for (const char* other : {"NTFS", "exFAT", "ReFS", "FAT64", "FAT3", "CDFS"}) {
        EXPECT_TRUE(shown(other).starts_with("UEFI 引导文件已写入 C:，但 C: 是 " + std::string(other) + " 分区，")) << other;
    }
    EXPECT_TRUE(shown("").starts_with("UEFI 引导文件已写入 C:，但无法识别 C: 的文件系统。UEFI 固件只能从 FAT32 格式的 "
                                      "EFI 系统分区启动，很可能无法从 C: 启动。\r\n"))
        << shown("");
}

} // namespace
} // namespace orvanta
