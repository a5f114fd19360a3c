#include "app/texts/UefiMessages.h"

#include <algorithm>
#include <vector>

#include "app/phrases/JoinedText.h"
#include "app/texts/UserMessages.h"

namespace orvanta {
namespace {

void AddOnce(std::vector<std::string>& texts, const std::string& text) {
    if (!text.empty() && std::find(texts.begin(), texts.end(), text) == texts.end()) texts.push_back(text);
}

std::string Quoted(const std::string& description) {
    return "“" + description + "”";
}

// No entry starts the boot manager: what lets the firmware find the disk, and what to do now.
std::string MissingEntryNote(const UefiStartCheck& check) {
    return MissingEntryText(check) + "\r\n" + BootMenuAdvice();
}

std::string EntryNote(const UefiStartCheck& check) {
    if (!check.entry || check.entry->place == BootEntryPlace::First) return "";
    const BootEntryFinding& finding = *check.entry;
    if (finding.place != BootEntryPlace::BehindAnother) return MissingEntryNote(check);
    return "固件的启动顺序里，" + Quoted(finding.aheadDescription) + "（" + BootEntryName(finding.ahead) + "）排在 " +
           check.bootPartition + " 上 Windows 启动管理器的固件启动项（" + BootEntryName(finding.entry) +
           "）前面，电脑会先从它启动。要先启动这个 Windows，请在固件设置里调整启动顺序，"
           "或进入这个 Windows 后在以管理员身份运行的命令提示符里执行：\r\n" +
           AddFirstBootEntryCommand;
}

std::string RefusalText(TrustRefusal refusal, const std::vector<std::string>& forbidden) {
    switch (refusal) {
    case TrustRefusal::NotAllowedByDb: return "固件的 db 里没有它的证书颁发机构";
    case TrustRefusal::CertificateInDbx: return "固件的 dbx 禁止了它的签名用到的证书（" + JoinedText(forbidden, "、") + "）";
    case TrustRefusal::FileHashInDbx: return "固件的 dbx 禁止了这个文件";
    case TrustRefusal::DigestMismatch: return "文件与它的签名不符，已损坏或被改动";
    case TrustRefusal::SignatureInvalid: return "它的签名校验不通过";
    case TrustRefusal::MalformedCertificateTable: return "它的证书表有误";
    }
    return {};
}

} // namespace

std::string CommonNameOf(const std::string& name) {
    if (!name.starts_with("CN=")) return name;
    return name.substr(3, name.find(", ") == std::string::npos ? std::string::npos : name.find(", ") - 3);
}

std::string MissingEntryText(const UefiStartCheck& check) {
    const BootEntryFinding finding = check.entry.value_or(BootEntryFinding{});
    const std::string& partition = check.bootPartition;
    std::string text = finding.place == BootEntryPlace::NoEntry
                           ? "固件里没有启动 " + partition + " 上 Windows 启动管理器的固件启动项（bcdboot 用 /s 修复时不创建它）"
                           : "固件启动项 " + BootEntryName(finding.entry) + " 启动 " + partition + " 上的 Windows 启动管理器，但" +
                                 (finding.place == BootEntryPlace::Inactive ? "已停用" : "不在固件的启动顺序里");
    return text + (check.fallback.status == FileReadStatus::Missing
                       ? "，这个分区上也没有回退启动文件 " + check.fallback.path + "，固件可能根本找不到这个磁盘。"
                       : "，固件只能通过回退启动文件 " + check.fallback.path + " 找到这个磁盘。");
}

std::string BootMenuAdvice() {
    return std::string("现在可以在开机时打开固件的一次性启动菜单（常用 F12、F11、F8 或 Esc 键，因电脑而异），选择这个磁盘启动。"
                       "进入修复好的 Windows 后，在以管理员身份运行的命令提示符里执行下面的命令，添加固件启动项并排在第一位：\r\n") +
           AddFirstBootEntryCommand;
}

std::string UefiSuccessNote(const UefiStartCheck& check, bool withEntryNote) {
    std::string note;
    if (check.bootManager.trust && !check.refused()) {
        note += "\r\n安全启动已开启，没有发现固件会拒绝这个 Windows 启动管理器的已知原因。";
    }
    const std::string entry = withEntryNote ? EntryNote(check) : "";
    return entry.empty() ? note : note + "\r\n" + entry;
}

Message BootManagerRefusedMessage(const UefiStartCheck& check) {
    std::vector<std::string> files, cas, forbidden, allowed;
    std::vector<TrustRefusal> refusals;
    for (const BootManagerFile* file : {&check.bootManager, &check.fallback}) {
        if (!file->refused()) continue;
        AddOnce(files, file->path);
        for (const SignatureVerdict& signature : file->trust->signatures) {
            if (!signature.counted) continue; // a nested signature means nothing to the firmware
            AddOnce(cas, CommonNameOf(signature.ca));
            for (const std::string& name : signature.forbiddenBy) AddOnce(forbidden, CommonNameOf(name));
        }
        for (const TrustRefusal refusal : file->trust->refusals) {
            if (std::find(refusals.begin(), refusals.end(), refusal) == refusals.end()) refusals.push_back(refusal);
        }
        for (const std::string& name : file->trust->allowedCas) AddOnce(allowed, CommonNameOf(name));
    }
    std::vector<std::string> reasons;
    for (const TrustRefusal refusal : refusals) reasons.push_back(RefusalText(refusal, forbidden));
    std::string text = "UEFI 的 BCD 存储已重建，但这台电脑开启了安全启动，固件会拒绝启动 Windows 启动管理器 " +
                       JoinedText(files, " 和 ") + "：下次启动时会出现安全违规（Security Violation），Windows 无法启动。\r\n";
    text += "它的证书颁发机构：" + (cas.empty() ? std::string("不知道（签名里没有签名者的证书）") : JoinedText(cas, "、")) + "\r\n";
    text += "原因：" + JoinedText(reasons, "；") + "。\r\n";
    text += "固件的 db 允许的证书颁发机构：" + (allowed.empty() ? std::string("没有") : JoinedText(allowed, "、")) + "\r\n";
    text += "请任选一种办法：\r\n"
            "1. 把支持 /bootex 的较新 bcdboot.exe 放进本程序的 Bin 文件夹，然后重新修复：系统里有 Windows UEFI CA 2023 签名的启动管理器"
            "（\\Windows\\Boot\\EFI_EX）而固件不拒绝它时，本程序会让 bcdboot 改为复制它。\r\n"
            "2. 按 Microsoft 的 KB5025885 更新固件的 db（加入 Windows UEFI CA 2023）。\r\n"
            "3. 在固件设置里暂时关闭安全启动，启动一次 Windows，让 Windows 更新安全启动证书，然后再打开安全启动。";
    const std::string entry = EntryNote(check);
    if (!entry.empty()) text += "\r\n\r\n" + entry;
    return {text, WarningTitle, MessageStyle::Error};
}

} // namespace orvanta
