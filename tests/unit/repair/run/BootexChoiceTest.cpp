#include <gtest/gtest.h>

#include "app/commandline/CommandLineMode.h"
#include "discovery/firmware/SignatureList.h"
#include "fakes/FakeMachine.h"
#include "fakes/FakeTextOutput.h"
#include "fakes/FirmwareBytes.h"
#include "fakes/SigningFixtures.h"
#include "repair/run/BootexChoice.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

const std::string Global(GlobalVariableVendor);
const std::string Security(ImageSecurityVendor);
const std::string Standard = "C:\\Windows\\Boot\\EFI\\bootmgfw.efi";
const std::string Ex = "C:\\Windows\\Boot\\EFI_EX\\bootmgfw_EX.efi";
const std::string UefiRun = "run F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s Z: /f uefi /l zh-cn";
const std::string UsageRun = "run F:\\Kit\\Bin\\bcdboot.exe /?";
const std::string DamagedWarning = "C:\\Windows\\Boot\\EFI\\bootmgfw.efi 与它的签名不符，已损坏或被改动";
const std::string RefusedWarning = "这台电脑开启了安全启动，固件会拒绝 bcdboot 为默认系统 C:\\Windows 复制的启动管理器 "
                                   "C:\\Windows\\Boot\\EFI\\bootmgfw.efi，因为";

// A UEFI PC whose Windows holds the boot managers bcdboot copies: the standard
// one, and the one signed under the 2023 CA in EFI_EX.
struct BootFilesPc {
    BootFilesPc() {
        m.addUefiPc();
        m.firmware.setVariable("SecureBoot", Global, {1});
    }
    void databases(const std::vector<std::string>& db, const std::vector<std::string>& dbx) {
        for (const auto& [name, certificates] : {std::pair{"db", db}, std::pair{"dbx", dbx}}) {
            std::vector<ByteVector> lists;
            for (const std::string& certificate : certificates) lists.push_back(SigningFixture(certificate + ".esl"));
            m.firmware.setVariable(name, Security, Joined(lists));
        }
    }
    void file(const std::string& path, ByteVector bytes) { m.files.addFile(path, {}, std::string(bytes.begin(), bytes.end())); }
    void bcdbootUsage(bool namesBootex) {
        m.processes.behave(" /?", {.writesStore = false,
                                   .standardOutput = std::string("bcdboot <source> [/l <locale>] [/s <volume-letter> [/f <firmware type>]]") +
                                                     (namesBootex ? " [/bootex]" : "") + "\r\n"});
    }
    int repair() { return RunCommandLine(ParseCommandLine({"/repair"}), m.platform(), output); }
    bool ran(const std::string& line) const {
        const Lines runs = m.journal.only({"run "});
        return std::find(runs.begin(), runs.end(), line) != runs.end();
    }
    std::string log() const { return m.files.contentOf(LogPathOfRepair); }

    FakeMachine m;
    CollectedOutput output;
};

ByteVector DamagedCopy(const std::string& fixture) {
    ByteVector bytes = SigningFixture(fixture);
    bytes[0x300] ^= 0x01; // a byte of the code the signature covers
    return bytes;
}

TEST(SignedBootexChoice, BootexWhenTheStandardFileIsRefusedTheExOneIsNotAndBcdbootKnowsIt) {
    struct Row {
        std::string name;
        bool secureBootOn;
        std::vector<std::string> db, dbx;
        ByteVector standard;
        std::optional<ByteVector> ex;
        bool bcdbootNamesBootex;
        bool asksUsage, bootex;
        std::string warning; // "" for none
    };
    const ByteVector signed2011 = SigningFixture("signed2011.efi"), signed2023 = SigningFixture("signed2023.efi");
    const std::vector<Row> rows{
        {"2011 CA revoked, EX file there, bcdboot knows /bootex", true, {"ca2023", "pca2011"}, {"pca2011"}, signed2011, signed2023, true, true, true, ""},
        {"the same with a bcdboot that doesn't", true, {"ca2023", "pca2011"}, {"pca2011"}, signed2011, signed2023, false, true, false, RefusedWarning},
        {"no EX file", true, {"ca2023", "pca2011"}, {"pca2011"}, signed2011, std::nullopt, true, false, false, RefusedWarning},
        {"the EX file refused too", true, {"pca2011"}, {"pca2011"}, signed2011, signed2023, true, false, false, RefusedWarning},
        {"the standard file allowed", true, {"ca2023", "pca2011"}, {}, signed2011, signed2023, true, false, false, ""},
        {"Secure Boot off", false, {"ca2023", "pca2011"}, {"pca2011"}, signed2011, signed2023, true, false, false, ""},
        {"a damaged standard file, the EX one good", true, {"ca2023"}, {}, DamagedCopy("signed2023.efi"), signed2023, true, true, true, ""},
        {"a damaged file and no way round it", true, {"ca2023"}, {}, DamagedCopy("signed2023.efi"), std::nullopt, true, false, false, DamagedWarning},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BootFilesPc pc;
        if (!row.secureBootOn) pc.m.firmware.setVariable("SecureBoot", Global, {0});
        pc.databases(row.db, row.dbx);
        pc.file(Standard, row.standard);
        if (row.ex) pc.file(Ex, *row.ex);
        pc.bcdbootUsage(row.bcdbootNamesBootex);
        const int exit = pc.repair();
        EXPECT_EQ(pc.ran(UsageRun), row.asksUsage);
        EXPECT_EQ(pc.ran(UefiRun + " /bootex"), row.bootex);
        EXPECT_EQ(pc.ran(UefiRun), !row.bootex);
        EXPECT_EQ(exit, row.warning.empty() ? RepairedExitCode : NotFullyRepairedExitCode);
        if (!row.warning.empty()) {
            EXPECT_NE(pc.output.text().find(row.warning), std::string::npos) << pc.output.text();
        }
    }
}

TEST(SignedBootexChoice, TheWarningsSayWhatToDoAndTheLogWhy) {
    BootFilesPc refused;
    refused.databases({"ca2023", "pca2011"}, {"pca2011"});
    refused.file(Standard, SigningFixture("signed2011.efi"));
    refused.file(Ex, SigningFixture("signed2023.efi"));
    refused.bcdbootUsage(false);
    refused.m.start();
    refused.m.journal.clear();
    refused.m.messages.answer = false;
    refused.m.controller.onRepairClicked();
    const Lines asked = refused.m.journal.only({"ask"});
    ASSERT_EQ(asked.size(), 1U);
    for (const std::string& part : Lines{RefusedWarning, "把支持 /bootex 的较新 bcdboot.exe", "本程序会让它改为复制 " + Ex + "（固件不会拒绝它）", "KB5025885", "关闭安全启动"}) {
        EXPECT_NE(asked[0].find(part), std::string::npos) << part << "\n" << asked[0];
    }
    EXPECT_FALSE(refused.ran(UefiRun)); // No changes nothing

    BootFilesPc chosen;
    chosen.databases({"ca2023", "pca2011"}, {"pca2011"});
    chosen.file(Standard, SigningFixture("signed2011.efi"));
    chosen.file(Ex, SigningFixture("signed2023.efi"));
    chosen.bcdbootUsage(true);
    chosen.repair();
    EXPECT_NE(chosen.log().find("    UEFI 修复加上 /bootex：标准的启动管理器会被固件拒绝，Boot\\EFI_EX\\bootmgfw_EX.efi 不会，"
                                "本程序 Bin 里的 bcdboot 支持 /bootex（它的用法说明里有）\r\n"),
              std::string::npos)
        << chosen.log();

    // Variables unreadable: nothing judged against db and dbx, the damage still named, with DISM's repair.
    BootFilesPc unreadable;
    for (const char* name : {"db", "dbx"}) unreadable.m.firmware.failVariable(name, Security, PrivilegeNotHeldError);
    unreadable.file(Standard, DamagedCopy("signed2023.efi"));
    EXPECT_EQ(unreadable.repair(), NotFullyRepairedExitCode);
    EXPECT_NE(unreadable.output.text().find("DISM /Image:C:\\ /Cleanup-Image /RestoreHealth"), std::string::npos);
    EXPECT_NE(unreadable.log().find("  安全启动：开启，但 db 或 dbx 无法读取（错误 1314，没有读取固件变量的权限），没有按 db 和 dbx 判断\r\n"),
              std::string::npos);
    EXPECT_NE(unreadable.log().find(Standard + "：与它的签名不符（已损坏或被改动）\r\n"), std::string::npos) << unreadable.log();
}

TEST(SignedBootexChoice, TheInstallationsOwnBcdbootGetsBootexOnlyWhenItsUsageNamesIt) {
    for (const bool ownKnowsBootex : {true, false}) {
        SCOPED_TRACE(ownKnowsBootex ? "its own knows /bootex" : "its own doesn't");
        BootFilesPc pc;
        pc.databases({"ca2023", "pca2011"}, {"pca2011"});
        pc.file(Standard, SigningFixture("signed2011.efi"));
        pc.file(Ex, SigningFixture("signed2023.efi"));
        pc.m.files.addFile("C:\\Windows\\System32\\bcdboot.exe");
        pc.m.processes.behave("System32\\bcdboot.exe /?", {.writesStore = false, .standardOutput = ownKnowsBootex ? "[/bootex]" : "[/c]"});
        pc.bcdbootUsage(true);
        pc.m.processes.behave("F:\\Kit\\Bin\\bcdboot.exe C:\\Windows /s Z: /f uefi", {.exitCode = 1, .writesStore = false});
        pc.repair();
        const std::string own = "run C:\\Windows\\System32\\bcdboot.exe C:\\Windows /s Z: /f uefi /l zh-cn";
        EXPECT_TRUE(pc.ran(UefiRun + " /bootex"));
        EXPECT_TRUE(pc.ran("run C:\\Windows\\System32\\bcdboot.exe /?"));
        EXPECT_EQ(pc.ran(own + " /bootex"), ownKnowsBootex);
        EXPECT_EQ(pc.ran(own), !ownKnowsBootex);
    }
}

TEST(BootexChoice, TheUsageTextNamesTheOptionInAnyCase) {
    EXPECT_TRUE(UsageNamesBootex("  /BOOTEX   Copies the boot files signed by the Windows UEFI CA 2023"));
    EXPECT_TRUE(UsageNamesBootex("[/bootex]"));
    EXPECT_FALSE(UsageNamesBootex("bcdboot <source> [/l <locale>] [/s <volume>] /bootx"));
    EXPECT_FALSE(UsageNamesBootex(""));
}

} // namespace
} // namespace orvanta
