#include <gtest/gtest.h>

#include <functional>

#include "app/commandline/CommandLineMode.h"
#include "discovery/firmware/SignatureList.h"
#include "fakes/DiskLayouts.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"
#include "fakes/FirmwareBytes.h"
#include "fakes/SigningFixtures.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

const std::string Global(GlobalVariableVendor);
const std::string Security(ImageSecurityVendor);

ByteVector WindowsEntry(std::uint32_t attributes = LoadOptionActive) {
    return LoadOptionBytes(attributes, u"Windows Boot Manager",
                           {GptHardDriveNode(2, 2048, 204800, FakeGptPartitionId(2)),
                            FilePathNode(u"\\EFI\\Microsoft\\Boot\\bootmgfw.efi"), EndNode()});
}

const ByteVector UsbEntry = LoadOptionBytes(LoadOptionActive, u"UEFI: USB", {NodeBytes(0x03, 0x05, {0, 0}), EndNode()});

ByteVector OrderBytes(const std::vector<std::uint8_t>& numbers) {
    ByteVector bytes;
    for (const std::uint8_t number : numbers) bytes.insert(bytes.end(), {number, 0});
    return bytes;
}

// A UEFI PC whose ESP (Z:, GPT partition 2, blocks 2048 to 206847) has no
// boot entry: only Boot0001, a USB stick, in BootOrder. Secure Boot off.
struct EntryPc {
    EntryPc() {
        m.addUefiPc();
        m.firmware.setVariable("SecureBoot", Global, {0});
        m.firmware.setVariable("BootOrder", Global, OrderBytes({1}));
        m.firmware.setVariable("Boot0001", Global, UsbEntry);
        m.firmware.setVariable("db", Security, SignatureListBytes(X509CertificateType, {SigningFixture("ca2023.der")}));
        const ByteVector image = SigningFixture("signed2023.efi");
        for (const char* path : {"Z:\\EFI\\Microsoft\\Boot\\bootmgfw.efi", "Z:\\EFI\\Boot\\bootx64.efi"}) {
            m.files.addFile(path, {}, std::string(image.begin(), image.end()));
        }
    }
    int repairOnCommandLine(bool writeEntry) {
        const Lines arguments = writeEntry ? Lines{"/repair", "/fwentry"} : Lines{"/repair"};
        return RunCommandLine(ParseCommandLine(arguments), m.platform(), output);
    }
    // The boxes after the click; the answer to the offer as given.
    Lines repairInWindow(bool answer) {
        m.messages.answer = answer;
        m.start();
        m.journal.clear();
        m.controller.onRepairClicked();
        return m.journal.only({"message", "ask"});
    }
    Lines writes() const { return m.journal.only({"firmware write"}); }
    std::string log() const { return m.files.contentOf(LogPathOfRepair); }

    FakeMachine m;
    CollectedOutput output;
};

// Which states the entry is written in with /fwentry, and why not otherwise.
TEST(SignedFirmwareEntry, WrittenOnlyAfterAGoodUefiRepairWhenTheEntryIsMissingOrOutsideBootOrder) {
    const std::string notWritten = "没有写入固件启动项（/fwentry）：";
    const struct {
        const char* name;
        std::function<void(EntryPc&)> setUp;
        int exitCode;
        std::string said;
        Lines writes;
    } cases[] = {
        {"no entry", [](EntryPc&) {}, RepairedExitCode,
         "提示：\r\n已在固件里新建启动项 Boot0000“Windows Boot Manager”，并把它排在启动顺序的第一位：下次启动时，固件会先启动 Z: 上的 Windows 启动管理器。",
         {"firmware write Boot0000 164", "firmware write BootOrder 4"}},
        {"no entry, names not listed", [](EntryPc& pc) { pc.m.firmware.namesError = FunctionMissingError; }, RepairedExitCode,
         "已在固件里新建启动项 Boot0000", {"firmware write Boot0000 164", "firmware write BootOrder 4"}},
        {"outside BootOrder", [](EntryPc& pc) { pc.m.firmware.setVariable("Boot0004", Global, WindowsEntry()); },
         RepairedExitCode, "已把固件启动项 Boot0004 放回启动顺序的第一位：", {"firmware write BootOrder 4"}},
        {"in BootOrder", [](EntryPc& pc) {
             pc.m.firmware.setVariable("Boot0004", Global, WindowsEntry());
             pc.m.firmware.setVariable("BootOrder", Global, OrderBytes({1, 4}));
         }, RepairedExitCode, notWritten + "启动它的固件启动项已在启动顺序里。", {}},
        {"inactive", [](EntryPc& pc) { pc.m.firmware.setVariable("Boot0004", Global, WindowsEntry(0)); }, RepairedExitCode,
         notWritten + "启动它的固件启动项已停用，本程序不改动它。", {}},
        {"refused by Secure Boot", [](EntryPc& pc) {
             pc.m.firmware.setVariable("SecureBoot", Global, {1});
             pc.m.firmware.setVariable("db", Security, SignatureListBytes(X509CertificateType, {SigningFixture("pca2011.der")}));
         }, NotFullyRepairedExitCode, notWritten + "安全启动会拒绝这个 Windows 启动管理器。", {}},
        {"damaged, Secure Boot off", [](EntryPc& pc) {
             std::string image = pc.m.files.contentOf("Z:\\EFI\\Microsoft\\Boot\\bootmgfw.efi");
             image[0x300] ^= 0x01; // inside a section the signature's digest covers
             pc.m.files.addFile("Z:\\EFI\\Microsoft\\Boot\\bootmgfw.efi", {}, image);
         }, NotFullyRepairedExitCode, notWritten + "这个 Windows 启动管理器与它的签名不符，已损坏或被改动。", {}},
        // (BIOS with a GPT disk is a warning before the run: exit code 1.)
        {"BIOS", [](EntryPc& pc) { pc.m.firmware.type = BiosFirmwareType; }, NotFullyRepairedExitCode,
         notWritten + "这台电脑不是从 UEFI 固件启动的。", {}},
        {"an entry unreadable", [](EntryPc& pc) { pc.m.firmware.failVariable("Boot0007", Global, PrivilegeNotHeldError); },
         RepairedExitCode, notWritten + "固件启动项无法全部读取。", {}},
        {"UEFI run failed", [](EntryPc& pc) { pc.m.processes.behave("/f uefi", {.exitCode = 1}); }, NotFullyRepairedExitCode,
         notWritten + "UEFI 的 BCD 存储没有修复成功。", {}},
        {"no boot manager", [](EntryPc& pc) { pc.m.files.erase("Z:\\EFI\\Microsoft\\Boot\\bootmgfw.efi"); }, RepairedExitCode,
         notWritten + "引导盘上没有可用的 Windows 启动管理器。", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EntryPc pc;
        c.setUp(pc);
        EXPECT_EQ(pc.repairOnCommandLine(true), c.exitCode);
        EXPECT_NE(pc.output.text().find(c.said), std::string::npos) << pc.output.text();
        EXPECT_EQ(pc.writes(), c.writes);
    }

    // Without /fwentry nothing is written; the switch is named.
    EntryPc without;
    EXPECT_EQ(without.repairOnCommandLine(false), RepairedExitCode);
    EXPECT_TRUE(without.writes().empty());
    EXPECT_NE(without.output.text().find("固件里没有启动 Z: 上 Windows 启动管理器的固件启动项（bcdboot 用 /s 修复时不创建它）"),
              std::string::npos);
    EXPECT_NE(without.output.text().find("加上 /fwentry 再运行一次 /repair，本程序会写入这个固件启动项并排在启动顺序的第一位。"), std::string::npos);
}

TEST(SignedFirmwareEntry, TheWindowAsksAndANewEntryTakesTheLowestFreeNumberFirstInBootOrder) {
    EntryPc pc;
    // Taken: Boot0000 and Boot0002 (outside BootOrder), 0001, and 0003 which BootOrder names though no variable has it.
    pc.m.firmware.setVariable("Boot0000", Global, UsbEntry);
    pc.m.firmware.setVariable("Boot0002", Global, UsbEntry);
    pc.m.firmware.setVariable("BootOrder", Global, OrderBytes({1, 3}));
    auto others = pc.m.firmware.variables;
    const Lines boxes = pc.repairInWindow(true);
    ASSERT_EQ(boxes.size(), 4U);
    EXPECT_EQ(boxes[1], "message 提示： 64 UEFI引导修复成功！" + LogNoteOfRepair);
    EXPECT_EQ(boxes[2],
              "ask 提示： 64 固件里没有启动 Z: 上 Windows 启动管理器的固件启动项（bcdboot 用 /s 修复时不创建它），"
              "固件只能通过回退启动文件 Z:\\EFI\\Boot\\bootx64.efi 找到这个磁盘。\r\n"
              "本程序可以在固件里新建启动项 Boot0004“Windows Boot Manager”，启动 Z: 上的 "
              "\\EFI\\Microsoft\\Boot\\bootmgfw.efi，并把它排在启动顺序的第一位；其他固件启动项不会被更改或删除。\r\n"
              "选“否”则不做更改，以后可以进入修复好的 Windows，在以管理员身份运行的命令提示符里执行：\r\n"
              "bcdedit /set {fwbootmgr} displayorder {bootmgr} /addfirst\r\n是否现在写入？");
    EXPECT_EQ(boxes[3], "message 提示： 64 已在固件里新建启动项 Boot0004“Windows Boot Manager”，并把它排在启动顺序的第一位："
                        "下次启动时，固件会先启动 Z: 上的 Windows 启动管理器。");
    EXPECT_EQ(pc.m.firmware.variables.at(Global + "BootOrder").bytes, OrderBytes({4, 1, 3}));
    EXPECT_EQ(ParseLoadOption(pc.m.firmware.variables.at(Global + "Boot0004").bytes).description, "Windows Boot Manager");
    // Nothing else changed.
    others[Global + "BootOrder"] = pc.m.firmware.variables.at(Global + "BootOrder");
    others[Global + "Boot0004"] = pc.m.firmware.variables.at(Global + "Boot0004");
    EXPECT_EQ(pc.m.firmware.variables, others);
    for (const std::string line : {"写入固件启动项（用户同意）：新建 Boot0004“Windows Boot Manager”（\\EFI\\Microsoft\\Boot\\bootmgfw.efi），"
                                   "排在启动顺序的第一位\r\n  之前的启动顺序：Boot0001、Boot0003\r\n  Boot0004 的内容（164 字节）：01000000",
                                   "  写入的启动顺序：Boot0004、Boot0001、Boot0003\r\n  结果：已写入，读出的内容与写入的相同\r\n"}) {
        EXPECT_NE(pc.log().find(line), std::string::npos) << line << pc.log();
    }

    // No: nothing is written.
    EntryPc declined;
    EXPECT_EQ(declined.repairInWindow(false).size(), 3U);
    EXPECT_TRUE(declined.writes().empty());
}

TEST(SignedFirmwareEntry, ListShowsTheEntriesOutsideBootOrderAndSaysWhenOnlyLowNumbersWereAskedFor) {
    for (const bool listed : {true, false}) {
        EntryPc pc;
        pc.m.firmware.setVariable("Boot0004", Global, WindowsEntry(0));
        if (!listed) pc.m.firmware.namesError = FunctionMissingError;
        EXPECT_EQ(RunCommandLine(ParseCommandLine({"/list"}), pc.m.platform(), pc.output), RepairedExitCode);
        const std::string probed = "  （系统不能列出固件变量的名称，只查找了 Boot0000 到 Boot00FF，更大的编号没有查找）\r\n";
        EXPECT_NE(pc.output.text().find("固件启动项（按启动顺序）：\r\n  Boot0001 “UEFI: USB”：Messaging/USB\r\n"
                                        "不在启动顺序里的固件启动项：\r\n  Boot0004 “Windows Boot Manager”：GPT 分区 " +
                                        GuidText(FakeGptPartitionId(2)) + "，\\EFI\\Microsoft\\Boot\\bootmgfw.efi（已停用）\r\n" +
                                        (listed ? "" : probed)),
                  std::string::npos)
            << pc.output.text();
    }
}

// A write the firmware refuses, or keeps otherwise than written: the warning
// says what changed, and BootOrder gains nothing that didn't hold.
TEST(SignedFirmwareEntry, AFailedOrAlteredWriteIsAWarningAndBootOrderOnlyFollowsAGoodEntry) {
    const std::string advice = "\r\n现在可以在开机时打开固件的一次性启动菜单";
    const struct {
        const char* name;
        std::function<void(FakeFirmware&)> fault;
        std::string said;
        Lines writes;
        ByteVector order; // BootOrder afterwards
    } cases[] = {
        {"entry refused", [](FakeFirmware& f) { f.writeErrors["Boot0000"] = 5; },
         "固件启动项没有写成功：写入 Boot0000 失败（错误 5），固件里的启动项和启动顺序没有改变。",
         {"firmware write Boot0000 164"}, OrderBytes({1})},
        {"entry altered", [](FakeFirmware& f) { f.storesInstead["Boot0000"] = WindowsEntry(0); },
         "固件启动项没有写成功：写入 Boot0000 后读出的内容与写入的不同，固件可能没有保存它；启动顺序没有改变。",
         {"firmware write Boot0000 164"}, OrderBytes({1})},
        {"BootOrder refused", [](FakeFirmware& f) { f.writeErrors["BootOrder"] = PrivilegeNotHeldError; },
         "固件启动项没有写成功：写入启动顺序（BootOrder）失败（错误 1314，没有修改固件变量的权限），启动顺序没有改变；"
         "新建的 Boot0000 不在启动顺序里。",
         {"firmware write Boot0000 164", "firmware write BootOrder 4"}, OrderBytes({1})},
        {"BootOrder altered", [](FakeFirmware& f) { f.storesInstead["BootOrder"] = OrderBytes({1, 0}); },
         "固件启动项没有写成功：写入启动顺序（BootOrder）后读出的内容与写入的不同，固件可能没有保存它。",
         {"firmware write Boot0000 164", "firmware write BootOrder 4"}, OrderBytes({1, 0})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EntryPc pc;
        c.fault(pc.m.firmware);
        EXPECT_EQ(pc.repairOnCommandLine(true), NotFullyRepairedExitCode);
        EXPECT_NE(pc.output.text().find("警告！\r\n" + c.said + advice), std::string::npos) << pc.output.text();
        EXPECT_EQ(pc.writes(), c.writes);
        EXPECT_EQ(pc.m.firmware.variables.at(Global + "BootOrder").bytes, c.order);
    }
}

} // namespace
} // namespace orvanta
