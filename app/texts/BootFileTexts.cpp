#include "app/texts/BootFileTexts.h"

#include "app/phrases/JoinedText.h"
#include "app/texts/UserMessages.h"
#include "app/texts/UefiLogLines.h"
#include "app/texts/UefiMessages.h"

namespace orvanta {
namespace {

std::string IntegrityText(const BootManagerFile& file) {
    switch (file.integrity) {
    case FileIntegrity::Unsigned: return "没有签名";
    case FileIntegrity::Intact: return "与它的签名相符";
    case FileIntegrity::Damaged: return "与它的签名不符（已损坏或被改动）";
    case FileIntegrity::Unchecked: break;
    }
    return "系统无法核对它与签名是否相符";
}

std::string FileText(const BootManagerFile& file) {
    if (file.status == FileReadStatus::Missing) return "没有";
    if (file.status != FileReadStatus::Read) return "无法读取（错误 " + std::to_string(file.error) + "）";
    if (!file.isImage) return "不是 PE 映像";
    std::string text = IntegrityText(file);
    if (file.trust) text += "；" + TrustText(*file.trust);
    return text;
}

std::string SecureBootLine(const UefiBootFiles& files) {
    if (files.judged) return "  安全启动：开启，按固件的 db 和 dbx 判断";
    if (files.secureBootOn) {
        return "  安全启动：开启，但 db 或 dbx 无法读取（" + VariableErrorText(files.databaseError) + "），没有按 db 和 dbx 判断";
    }
    return "  安全启动：没有开启或状态不明，没有按 db 和 dbx 判断，只核对文件与签名是否相符";
}

std::string BootexLine(const InstallationBootFiles& files, const UefiBootFiles& all) {
    const std::string why = "标准的启动管理器会被固件拒绝，" + std::string(InstallationExBootManagerPath.substr(1)) + " 不会";
    if (files.bootex) return "    UEFI 修复加上 /bootex：" + why + "，本程序 Bin 里的 bcdboot 支持 /bootex（它的用法说明里有）";
    const std::string known = !all.bcdbootKnowsBootex ? "无法得知本程序 Bin 里的 bcdboot 是否支持 /bootex（它没有显示用法说明）"
                                                       : "本程序 Bin 里的 bcdboot 不支持 /bootex（它的用法说明里没有）";
    return "    没有加 /bootex：" + why + "，但" + known;
}

std::string InstallationsText(const std::vector<const BootManagerFile*>& files) {
    std::vector<std::string> paths;
    for (const BootManagerFile* file : files) paths.push_back(file->path);
    return JoinedText(paths, "、");
}

// "C:\" of "C:\Windows": the root DISM takes for an offline image.
std::string RootOf(const std::string& path) {
    return path.substr(0, 2) + "\\";
}

// Repairing an installation's own files from install media, before running again.
std::string RepairFilesAdvice(const std::string& installationPath) {
    return "请先用 Windows 安装介质修复这个系统的文件（sfc 从同一个组件存储修复，修不好它）：\r\n"
           "　DISM /Image:" + RootOf(installationPath) + " /Cleanup-Image /RestoreHealth /Source:wim:X:\\sources\\install.wim:1 /LimitAccess\r\n"
           "（X: 是安装介质，索引选与这个系统相同的版本），再重新修复。";
}

} // namespace

LogLines UefiBootFileLines(const UefiBootFiles& files) {
    LogLines lines{"运行前检查 bcdboot 要复制的 UEFI 启动管理器：", SecureBootLine(files)};
    for (const InstallationBootFiles& installation : files.installations) {
        lines.push_back("  " + installation.installation + "：");
        lines.push_back("    " + installation.standard.path + "：" + FileText(installation.standard));
        lines.push_back("    " + installation.ex.path + "：" + FileText(installation.ex));
        if (installation.wantsBootex) lines.push_back(BootexLine(installation, files));
    }
    return lines;
}

std::string BootFileDamagedText(const RepairPlan& plan) {
    const std::vector<const BootManagerFile*> damaged = plan.uefiBootFiles->damagedFiles();
    return InstallationsText(damaged) +
           " 与它的签名不符，已损坏或被改动：bcdboot 会把它原样复制到引导盘，开启安全启动的电脑会拒绝启动它，没有开启的也可能启动失败。" +
           RepairFilesAdvice(damaged.empty() ? "C:" : damaged.front()->path);
}

std::string EveryBootManagerRefusedText(const RepairPlan& plan) {
    const InstallationBootFiles& files = plan.uefiBootFiles->installations.back();
    const std::string reasons = files.standard.trust ? "，因为" + RefusalReasonsText(*files.standard.trust) : "";
    std::string text = "这台电脑开启了安全启动，固件会拒绝 bcdboot 为默认系统 " + files.installation + " 复制的启动管理器 " +
                       files.standard.path + reasons + "。修复后 Windows 将无法启动，请任选一种办法：";
    if (files.wantsBootex) {
        text += "把支持 /bootex 的较新 bcdboot.exe（它的用法说明 bcdboot /? 里有 /bootex）放进本程序的 Bin 文件夹再重新修复，本程序会让它改为复制 " +
                files.ex.path + "（固件不会拒绝它）；";
    }
    return text + "按 Microsoft 的 KB5025885 更新固件的 db（加入 Windows UEFI CA 2023）；或在固件设置里关闭安全启动。";
}

Message BootManagerDamagedMessage(const UefiStartCheck& check, const std::string& defaultInstallation) {
    std::vector<std::string> paths;
    for (const BootManagerFile* file : {&check.bootManager, &check.fallback}) {
        if (file->damaged()) paths.push_back(file->path);
    }
    const std::string text = "UEFI 的 BCD 存储已重建，但 bcdboot 写到引导盘的 Windows 启动管理器 " + JoinedText(paths, " 和 ") +
                             " 与它的签名不符，已损坏或被改动：开启安全启动的电脑会拒绝启动它，没有开启的也可能启动失败。"
                             "bcdboot 是从 " + defaultInstallation + "\\Boot 里原样复制的。" + RepairFilesAdvice(defaultInstallation);
    return {text, WarningTitle, MessageStyle::Error};
}

} // namespace orvanta
