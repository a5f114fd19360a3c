#include <gtest/gtest.h>

#include "app/commandline/CommandLineMode.h"
#include "discovery/signatures/PeImage.h"
#include "discovery/firmware/SignatureList.h"
#include "discovery/signatures/SignedData.h"
#include "fakes/DiskLayouts.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"
#include "fakes/FirmwareBytes.h"
#include "fakes/SigningFixtures.h"
#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;
using Entries = std::vector<std::pair<std::uint16_t, ByteVector>>;

const std::string Global(GlobalVariableVendor);
const std::string Security(ImageSecurityVendor);
const std::string BootManager = "Z:\\EFI\\Microsoft\\Boot\\bootmgfw.efi";
const std::string Fallback = "Z:\\EFI\\Boot\\bootx64.efi";
const std::string BiosSuccess = "message 提示： 64 BIOS引导修复成功！";
const std::string UefiSuccess = "message 提示： 64 UEFI引导修复成功！";
const std::string AddFirst = "\r\nbcdedit /set {fwbootmgr} displayorder {bootmgr} /addfirst";
const std::string BootMenu = "现在可以在开机时打开固件的一次性启动菜单（常用 F12、F11、F8 或 Esc 键，因电脑而异），选择这个磁盘启动。"
                             "进入修复好的 Windows 后，在以管理员身份运行的命令提示符里执行下面的命令，添加固件启动项并排在第一位：" +
                             AddFirst;
const std::string Leaf = "CN=Microsoft Windows, O=Microsoft Corporation, C=US";
const std::string Ca2023 = "CN=Windows UEFI CA 2023, O=Microsoft Corporation, C=US";

ByteVector WindowsEntry(const Guid& partition, const ByteVector& drive = {}) {
    return LoadOptionBytes(LoadOptionActive, u"Windows Boot Manager",
                           {drive.empty() ? GptHardDriveNode(2, 2048, 204800, partition) : drive,
                            FilePathNode(u"\\EFI\\Microsoft\\Boot\\bootmgfw.efi"), EndNode()});
}

const ByteVector UsbEntry = LoadOptionBytes(LoadOptionActive, u"UEFI: USB 闪存盘", {NodeBytes(0x03, 0x05, {0, 0}), EndNode()});

// One signature list per certificate, as the firmware keeps them.
ByteVector DatabaseBytes(const std::vector<std::string>& certificates) {
    std::vector<ByteVector> lists;
    for (const std::string& name : certificates) lists.push_back(SignatureListBytes(X509CertificateType, {SigningFixture(name + ".der")}));
    return Joined(lists);
}

// A UEFI PC: Windows on C: (disk 0 partition 3), its ESP (partition 2) gets Z:.
struct UefiPc {
    UefiPc() { m.addUefiPc(); }
    void firmware(std::uint8_t secureBoot, const Entries& entries, const std::vector<std::uint16_t>& order,
                  const std::vector<std::string>& db = {}, const std::vector<std::string>& dbx = {}) {
        m.firmware.setVariable("SecureBoot", Global, {secureBoot});
        ByteVector bootOrder;
        for (const std::uint16_t number : order) bootOrder.insert(bootOrder.end(), {static_cast<std::uint8_t>(number), 0});
        m.firmware.setVariable("BootOrder", Global, bootOrder);
        for (const auto& [number, bytes] : entries) m.firmware.setVariable(BootEntryName(number), Global, bytes);
        m.firmware.setVariable("db", Security, DatabaseBytes(db));
        m.firmware.setVariable("dbx", Security, DatabaseBytes(dbx));
    }
    // What bcdboot left on the ESP: the boot manager, and the fallback file when named.
    void bootFiles(const std::string& bootManager, const std::string& fallback = "") {
        const ByteVector bytes = SigningFixture(bootManager);
        m.files.addFile(BootManager, {}, std::string(bytes.begin(), bytes.end()));
        if (!fallback.empty()) m.files.addFile(fallback, {}, std::string(bytes.begin(), bytes.end()));
    }
    Lines repairInWindow() {
        m.start();
        m.journal.clear();
        m.controller.onRepairClicked();
        return m.journal.only({"message"});
    }
    int repairOnCommandLine() { return RunCommandLine(ParseCommandLine({"/repair"}), m.platform(), output); }
    std::string log() const { return m.files.contentOf(LogPathOfRepair); }

    FakeMachine m;
    CollectedOutput output;
};

TEST(SignedUefiStart, TheUefiSuccessSaysWhenNoBootEntryStartsTheEspOrAnotherComesFirst) {
    UefiPc pc;
    const Guid esp = FakeGptPartitionId(2), other = FakeGptPartitionId(9);
    // No entry for this ESP (another disk's Windows only), the fallback file there.
    pc.firmware(0, {{1, UsbEntry}, {2, WindowsEntry(other)}}, {1, 2});
    pc.bootFiles("signed2023.efi", Fallback);
    // The window tells it in the offer to write the entry, declined here; the command line in the success.
    pc.m.messages.answer = false;
    EXPECT_EQ(pc.repairInWindow(), (Lines{BiosSuccess, UefiSuccess + LogNoteOfRepair}));
    const std::string missing = "固件里没有启动 Z: 上 Windows 启动管理器的固件启动项（bcdboot 用 /s 修复时不创建它），"
                                "固件只能通过回退启动文件 Z:\\EFI\\Boot\\bootx64.efi 找到这个磁盘。\r\n";
    EXPECT_NE(pc.m.journal.only({"ask"}).at(0).find(missing), std::string::npos);
    UefiPc cli;
    cli.firmware(0, {{1, UsbEntry}, {2, WindowsEntry(other)}}, {1, 2});
    cli.bootFiles("signed2023.efi", Fallback);
    EXPECT_EQ(cli.repairOnCommandLine(), RepairedExitCode);
    EXPECT_NE(cli.output.text().find("UEFI引导修复成功！\r\n" + missing + BootMenu), std::string::npos) << cli.output.text();
    EXPECT_NE(pc.log().find("  固件启动项：没有一个启动本分区的 \\EFI\\Microsoft\\Boot\\bootmgfw.efi\r\n"
                         "  Windows 启动管理器 Z:\\EFI\\Microsoft\\Boot\\bootmgfw.efi：\r\n"),
              std::string::npos);

    // Without the fallback file the firmware may not find the disk at all.
    UefiPc noFallback;
    noFallback.firmware(0, {{1, UsbEntry}}, {1});
    noFallback.bootFiles("signed2023.efi");
    noFallback.repairOnCommandLine();
    EXPECT_NE(noFallback.output.text().find("，这个分区上也没有回退启动文件 Z:\\EFI\\Boot\\bootx64.efi，固件可能根本找不到这个磁盘。\r\n" + BootMenu),
              std::string::npos);

    // An entry for this ESP behind the USB stick's: which one comes first. The
    // boot manager is a 32-bit image, so its fallback file is bootia32.efi.
    UefiPc behind;
    behind.firmware(0, {{1, UsbEntry}, {3, WindowsEntry(esp)}}, {1, 3});
    behind.bootFiles("signed32.efi", "Z:\\EFI\\Boot\\bootia32.efi");
    EXPECT_EQ(behind.repairInWindow().back(),
              UefiSuccess + "\r\n固件的启动顺序里，“UEFI: USB 闪存盘”（Boot0001）排在 Z: 上 Windows 启动管理器的固件启动项（Boot0003）"
                            "前面，电脑会先从它启动。要先启动这个 Windows，请在固件设置里调整启动顺序，"
                            "或进入这个 Windows 后在以管理员身份运行的命令提示符里执行：" +
                  AddFirst + LogNoteOfRepair);
    EXPECT_NE(behind.log().find("  固件启动项：Boot0003 启动本分区的 Windows 启动管理器，在启动顺序第 2 位，排在它前面的是 "
                                "Boot0001 “UEFI: USB 闪存盘”\r\n"),
              std::string::npos);
    EXPECT_NE(behind.log().find("  回退启动文件 Z:\\EFI\\Boot\\bootia32.efi：与 Windows 启动管理器相同（Authenticode SHA-256 相同）\r\n"), std::string::npos);

    // On an MBR disk the entry names the disk's signature and the ESP's first sector: first, nothing to add.
    UefiPc mbr;
    mbr.m.devices.addDisk(0, {MbrLayout({{1, true, 1048576}, {3, false, 9 << 20}})});
    mbr.m.devices.set("C:", {.location = VolumeLocation{0, 3}});
    mbr.firmware(0, {{4, WindowsEntry({}, MbrHardDriveNode(1, 2048, 1000, FakeMbrSignature))}, {1, UsbEntry}}, {4, 1});
    mbr.bootFiles("signed2023.efi", Fallback);
    EXPECT_EQ(mbr.repairInWindow().back(), UefiSuccess + LogNoteOfRepair);
}

TEST(SignedUefiStart, ABootManagerSecureBootWillRefuseIsAWarningAndTheRepairExitsOne) {
    UefiPc pc;
    // A boot manager with two entries, signed under the 2011 CA and under the 2023 CA; the 2011 CA is revoked.
    pc.firmware(1, {{3, WindowsEntry(FakeGptPartitionId(2))}}, {3}, {"ca2023", "pca2011"}, {"pca2011"});
    pc.bootFiles("two-entries.efi", Fallback);
    EXPECT_EQ(pc.repairOnCommandLine(), NotFullyRepairedExitCode);
    const std::string warning =
        "警告！\r\nUEFI 的 BCD 存储已重建，但这台电脑开启了安全启动，固件会拒绝启动 Windows 启动管理器 Z:\\EFI\\Microsoft\\Boot\\bootmgfw.efi 和 "
        "Z:\\EFI\\Boot\\bootx64.efi：下次启动时会出现安全违规（Security Violation），Windows 无法启动。\r\n"
        "它的证书颁发机构：Microsoft Windows Production PCA 2011、Windows UEFI CA 2023\r\n"
        "原因：固件的 dbx 禁止了它的签名用到的证书（Microsoft Windows Production PCA 2011）。\r\n"
        "固件的 db 允许的证书颁发机构：Windows UEFI CA 2023、Microsoft Windows Production PCA 2011\r\n"
        "请任选一种办法：\r\n"
        "1. 把支持 /bootex 的较新 bcdboot.exe 放进本程序的 Bin 文件夹，然后重新修复：系统里有 Windows UEFI CA 2023 签名的启动管理器"
        "（\\Windows\\Boot\\EFI_EX）而固件不拒绝它时，本程序会让 bcdboot 改为复制它。\r\n"
        "2. 按 Microsoft 的 KB5025885 更新固件的 db（加入 Windows UEFI CA 2023）。\r\n"
        "3. 在固件设置里暂时关闭安全启动，启动一次 Windows，让 Windows 更新安全启动证书，然后再打开安全启动。\r\n";
    EXPECT_NE(pc.output.text().find("提示：\r\nBIOS引导修复成功！\r\n" + warning), std::string::npos) << pc.output.text();
    EXPECT_EQ(pc.output.text().find("UEFI引导修复成功"), std::string::npos);
    EXPECT_NE(pc.log().find("    安全启动检查：固件会拒绝它，因为它的签名用到的证书被 dbx 禁止（CN=Microsoft Windows Production PCA 2011, "
                         "O=Microsoft Corporation, L=Redmond, ST=Washington, C=US）\r\n"),
              std::string::npos);

    // Only the 2011 CA allowed, and the file signed under the 2023 CA alone: not in db, in the window too.
    UefiPc notInDb;
    notInDb.firmware(1, {{3, WindowsEntry(FakeGptPartitionId(2))}}, {3}, {"pca2011"});
    notInDb.bootFiles("signed2023.efi", Fallback);
    const std::string shown = notInDb.repairInWindow().back();
    EXPECT_TRUE(shown.starts_with("message 警告！ 16 UEFI 的 BCD 存储已重建")) << shown;
    for (const std::string part : {"它的证书颁发机构：Windows UEFI CA 2023\r\n", "原因：固件的 db 里没有它的证书颁发机构。\r\n",
                                   "固件的 db 允许的证书颁发机构：Microsoft Windows Production PCA 2011\r\n"}) {
        EXPECT_NE(shown.find(part), std::string::npos) << part;
    }
}

TEST(SignedUefiStart, ABootManagerThatDoesntMatchItsSignatureIsAWarningWithOrWithoutTheFirmwaresVariables) {
    ByteVector damaged = SigningFixture("signed2023.efi");
    damaged[0x300] ^= 0x01;
    for (const bool readable : {true, false}) {
        SCOPED_TRACE(readable ? "db and dbx read" : "no variable read");
        UefiPc pc;
        pc.firmware(1, {{3, WindowsEntry(FakeGptPartitionId(2))}}, {3}, {"ca2023"});
        if (!readable) pc.m.firmware.failVariable("db", Security, PrivilegeNotHeldError);
        pc.m.files.addFile(BootManager, {}, std::string(damaged.begin(), damaged.end()));
        EXPECT_EQ(pc.repairOnCommandLine(), NotFullyRepairedExitCode);
        const std::string text = pc.output.text();
        EXPECT_NE(text.find("警告！\r\nUEFI 的 BCD 存储已重建，但 bcdboot 写到引导盘的 Windows 启动管理器 " + BootManager +
                            " 与它的签名不符，已损坏或被改动"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("bcdboot 是从 C:\\Windows\\Boot 里原样复制的。"), std::string::npos);
        EXPECT_NE(text.find("DISM /Image:C:\\ /Cleanup-Image /RestoreHealth"), std::string::npos);
        EXPECT_EQ(text.find("UEFI引导修复成功"), std::string::npos);
    }
}

TEST(SignedUefiStart, NoKnownReasonToRefuseIsSaidWithoutCallingItTrustAndSecureBootOffOnlyLogged) {
    UefiPc pc;
    pc.firmware(1, {{3, WindowsEntry(FakeGptPartitionId(2))}}, {3}, {"ca2023"}, {"pca2011"});
    pc.bootFiles("signed2023.efi", Fallback);
    EXPECT_EQ(pc.repairOnCommandLine(), RepairedExitCode);
    EXPECT_NE(pc.output.text().find("提示：\r\nUEFI引导修复成功！\r\n安全启动已开启，没有发现固件会拒绝这个 Windows 启动管理器的已知原因。\r\n"),
              std::string::npos)
        << pc.output.text();
    EXPECT_NE(pc.log().find("  安全启动：开启，检查固件是否会拒绝启动管理器\r\n"), std::string::npos);
    EXPECT_NE(pc.log().find("    安全启动检查：没有发现固件会拒绝它的已知原因（db 里有 " + Ca2023 +
                         "）；启动管理器的安全版本号（SVN）没有检查，Microsoft 的吊销也用它\r\n"),
              std::string::npos);
    EXPECT_EQ(pc.log().find("信任"), std::string::npos);

    // Secure Boot off: the same revoked CA changes nothing the user sees; the log says it is off.
    UefiPc off;
    off.firmware(0, {{3, WindowsEntry(FakeGptPartitionId(2))}}, {3}, {"ca2023"}, {"ca2023"});
    off.bootFiles("signed2023.efi", Fallback);
    EXPECT_EQ(off.repairInWindow(), (Lines{BiosSuccess, UefiSuccess + LogNoteOfRepair}));
    EXPECT_NE(off.log().find("安全启动：关闭\r\n"), std::string::npos);
    EXPECT_NE(off.log().find("  安全启动：关闭，固件不检查启动管理器的签名\r\n"), std::string::npos);
    EXPECT_EQ(off.log().find("安全启动检查："), std::string::npos);
}

TEST(SignedUefiStart, UnreadableVariablesAreLoggedAndTheBootManagersSignerStillIs) {
    UefiPc pc;
    for (const char* name : {"SecureBoot", "SetupMode", "BootOrder", "BootCurrent"}) pc.m.firmware.failVariable(name, Global, PrivilegeNotHeldError);
    for (const char* name : {"db", "dbx"}) pc.m.firmware.failVariable(name, Security, PrivilegeNotHeldError);
    pc.bootFiles("signed-both.efi", Fallback);
    pc.m.fileIdentities.known[BootManager] = {"", SignatureState::NotTrusted, "Microsoft Windows"};
    EXPECT_EQ(pc.repairInWindow(), (Lines{BiosSuccess, UefiSuccess + LogNoteOfRepair}));
    // The digest the signer vouched for, as osslsigncode wrote it into the signature.
    const ByteVector vouched = SignaturesOf(*ReadPeImage(SigningFixture("signed-both.efi"))).at(0).fileDigest;
    const std::string pca2011 = "CN=Microsoft Windows Production PCA 2011, O=Microsoft Corporation, L=Redmond, ST=Washington, C=US";
    for (const std::string& part : std::vector<std::string>{
             "\r\n固件变量：无法读取（错误 1314，没有读取固件变量的权限），安全启动的状态、签名数据库和固件启动项都不知道\r\n",
             "UEFI 启动检查（引导盘 Z:）：\r\n"
             "  安全启动：状态不明（错误 1314，没有读取固件变量的权限），没有检查固件是否会拒绝启动管理器\r\n"
             "  固件启动项：无法核对，BootOrder 无法读取（错误 1314，没有读取固件变量的权限）\r\n"
             "  Windows 启动管理器 Z:\\EFI\\Microsoft\\Boot\\bootmgfw.efi：\r\n"
             "    版本：无，数字签名：无效或不受信任（Microsoft Windows）\r\n"
             "    签名 1：签名者 " + Leaf + "，证书颁发机构 " + Ca2023 + "\r\n"
             "      证书链：" + Leaf + " → " + Ca2023 + " → CN=Orvanta Test Root（根证书不在文件里）\r\n"
             "      校验：文件的 Authenticode 哈希（SHA-256）与签名相符，messageDigest 相符，签名者的签名有效，证书链里各证书的签名有效\r\n"
             "    签名 2（嵌套，固件只看外层的签名）：签名者 " + Leaf + "，证书颁发机构 " + pca2011 + "\r\n"
             "      证书链：" + Leaf + " → " + pca2011 + " → CN=Orvanta Test Root（根证书不在文件里）\r\n"
             "    Authenticode SHA-256：" + HexText(vouched) + "\r\n"
             "  回退启动文件 Z:\\EFI\\Boot\\bootx64.efi：与 Windows 启动管理器相同（Authenticode SHA-256 相同）\r\n"}) {
        EXPECT_NE(pc.log().find(part), std::string::npos) << part << pc.log();
    }

    // On a BIOS PC none of it runs: no variable is read, no check is logged.
    UefiPc bios;
    bios.m.firmware.type = 1;
    bios.bootFiles("signed-both.efi", Fallback);
    bios.repairInWindow();
    EXPECT_EQ(bios.m.journal.count("firmware read"), 0U);
    EXPECT_EQ(bios.log().find("UEFI 启动检查"), std::string::npos);
}

TEST(SignedUefiStart, ListShowsSecureBootItsDatabasesAndTheBootEntriesInOrder) {
    UefiPc pc;
    pc.firmware(1, {{3, WindowsEntry(FakeGptPartitionId(2))}, {1, UsbEntry}, {7, {1, 0}}}, {3, 1, 7}, {"ca2023"});
    pc.m.firmware.setVariable("BootCurrent", Global, {3, 0});
    pc.m.firmware.setVariable("dbx", Security, SignatureListBytes(Sha256HashType, {ByteVector(32, 1), ByteVector(32, 2)}));
    EXPECT_EQ(RunCommandLine(ParseCommandLine({"/list"}), pc.m.platform(), pc.output), RepairedExitCode);
    EXPECT_NE(pc.output.text().find("安全启动：开启\r\n"
                                 "安全启动的允许列表 db：证书 1 个，文件哈希 0 个\r\n"
                                 "  证书：" + Ca2023 + "\r\n"
                                 "安全启动的禁止列表 dbx：证书 0 个，文件哈希 2 个\r\n"
                                 "固件启动项（按启动顺序）：\r\n"
                                 "  Boot0003 “Windows Boot Manager”：GPT 分区 " + GuidText(FakeGptPartitionId(2)) +
                                 "，\\EFI\\Microsoft\\Boot\\bootmgfw.efi（本次从它启动）\r\n"
                                 "  Boot0001 “UEFI: USB 闪存盘”：Messaging/USB\r\n"
                                 "  Boot0007：内容有误（比它的长度短）\r\n"),
              std::string::npos)
        << pc.output.text();
}

} // namespace
} // namespace orvanta
