#include "app/texts/UefiLogLines.h"

#include <algorithm>
#include <cstdio>

#include "app/texts/BootEntryLines.h"
#include "app/phrases/JoinedText.h"
#include "platform/errors/SystemErrors.h"
#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

std::string Counted(const std::string& what, std::size_t count) {
    return what + " " + std::to_string(count) + " 个";
}

std::string SecureBootText(const UefiBootState& state) {
    std::string text;
    switch (SecureBootStateOf(state)) {
    case SecureBootState::On: text = "开启"; break;
    case SecureBootState::Off: text = "关闭"; break;
    case SecureBootState::NotSupported: text = "固件不支持（没有 SecureBoot 变量）"; break;
    case SecureBootState::Unknown:
        text = state.secureBoot.error != 0 ? "无法读取（" + VariableErrorText(state.secureBoot.error) + "）"
                                           : "无法判断（SecureBoot 变量的值不是 0 或 1）";
        break;
    }
    if (state.setupMode.error == 0 && state.setupMode.value == true) text += "，固件处于设置模式（SetupMode 为 1），不检查签名";
    return text;
}

void DatabaseLines(LogLines& lines, const std::string& heading, const VariableReading<SecureBootDatabase>& reading) {
    if (reading.error == VariableNotFoundError) return lines.push_back(heading + "：没有（固件里没有这个变量）");
    if (reading.error != 0) return lines.push_back(heading + "：无法读取（" + VariableErrorText(reading.error) + "）");
    const SecureBootDatabase& database = reading.value;
    std::string line = heading + "：" + Counted("证书", database.certificates.size()) + "，" +
                       Counted("文件哈希", database.fileHashes.size());
    if (!database.certificateHashes.empty()) line += "，" + Counted("证书哈希", database.certificateHashes.size());
    for (const SignatureCount& other : database.others) line += "，" + Counted(other.type, other.count);
    if (database.unreadableEntries != 0) line += "，" + Counted("无法读取的签名", database.unreadableEntries);
    if (database.damaged) line += "，有一个签名列表的大小有误，它和后面的没有读取";
    lines.push_back(line);
    for (const Certificate& certificate : database.certificates) lines.push_back("  证书：" + certificate.subject.text);
}

std::string EntryFindingText(const UefiStartCheck& check) {
    if (!check.partitionKnown) return "无法核对，不知道引导盘 " + check.bootPartition + " 是哪个磁盘分区";
    if (check.bootOrderError != 0) return "无法核对，BootOrder 无法读取（" + VariableErrorText(check.bootOrderError) + "）";
    const BootEntryFinding finding = check.entry.value_or(BootEntryFinding{});
    const std::string entry = BootEntryName(finding.entry) + " 启动本分区的 Windows 启动管理器";
    const std::string position = "，在启动顺序第 " + std::to_string(finding.position) + " 位";
    switch (finding.place) {
    case BootEntryPlace::NoEntry: break;
    case BootEntryPlace::NotInBootOrder: return entry + "，但不在启动顺序里";
    case BootEntryPlace::Inactive: return entry + (finding.position == 0 ? "，但不在启动顺序里，且已停用" : position + "，但已停用");
    case BootEntryPlace::First: return entry + position;
    case BootEntryPlace::BehindAnother:
        return entry + position + "，排在它前面的是 " + BootEntryName(finding.ahead) + " “" + finding.aheadDescription + "”";
    }
    return "没有一个启动本分区的 " + std::string(WindowsBootManagerPath);
}

std::string ReadFailureText(const BootManagerFile& file) {
    switch (file.status) {
    case FileReadStatus::HeldOpen: return "被占用";
    case FileReadStatus::TooLarge: return "大于 " + std::to_string(LargestBootManagerSize / (1024 * 1024)) + " MB";
    default: return "错误 " + std::to_string(file.error);
    }
}

// "A → B → C": the signer, each certificate's issuer after it, up to the root the file doesn't carry.
std::string ChainText(const std::vector<const Certificate*>& chain) {
    std::string text;
    for (const Certificate* certificate : chain) text += certificate->subject.text + " → ";
    return text + chain.back()->issuer.text + "（根证书不在文件里）";
}

std::string AlgorithmName(HashAlgorithm algorithm) {
    switch (algorithm) {
    case HashAlgorithm::Sha1: return "SHA-1";
    case HashAlgorithm::Sha256: return "SHA-256";
    case HashAlgorithm::Sha384: return "SHA-384";
    case HashAlgorithm::Sha512: return "SHA-512";
    }
    return {};
}

std::string CheckedText(CryptoCheck check, const std::string& valid, const std::string& invalid, const std::string& unchecked) {
    return check == CryptoCheck::Valid ? valid : check == CryptoCheck::Invalid ? invalid : unchecked;
}

std::string LinksText(const std::vector<CryptoCheck>& links) {
    if (links.empty()) return "证书链只有签名者的证书";
    if (std::find(links.begin(), links.end(), CryptoCheck::Invalid) != links.end()) return "证书链里有证书的签名无效";
    if (std::find(links.begin(), links.end(), CryptoCheck::CouldNotCheck) != links.end()) return "系统无法校验证书链";
    return "证书链里各证书的签名有效";
}

// "      校验：文件的 Authenticode 哈希（SHA-256）与签名相符，…": what the signature says of the file, without firmware.
std::string CheckLine(const Signature& signature, const SignatureCheck& check) {
    if (!check.algorithm) return "      校验：摘要算法 " + signature.digestAlgorithm + " 不是固件支持的，这个签名不算数";
    const std::string hash = "文件的 Authenticode 哈希（" + AlgorithmName(*check.algorithm) + "）";
    const std::vector<std::string> parts{
        CheckedText(check.digest, hash + "与签名相符", hash + "与签名里的不符（文件已损坏或被改动）", "无法计算" + hash),
        CheckedText(check.messageDigest, "messageDigest 相符", "签名者的 messageDigest 与签名内容不符", "无法核对 messageDigest"),
        CheckedText(check.signerSignature, "签名者的签名有效", "签名者的签名无效", "系统无法校验签名者的签名"),
        LinksText(check.links)};
    return "      校验：" + JoinedText(parts, "，");
}

void SignatureLines(LogLines& lines, const SignedImage& image) {
    if (image.signatures.empty()) lines.push_back(image.hasCertificateTable ? "    证书表里没有能读取的签名" : "    没有签名");
    if (image.certificateTableDamaged) lines.push_back("    证书表有误（大小与其中的条目不符）：固件会拒绝它");
    for (std::size_t index = 0; index < image.signatures.size(); ++index) {
        const Signature& signature = image.signatures[index];
        const std::vector<const Certificate*> chain = SignerChain(signature);
        std::string line = "    签名 " + std::to_string(index + 1) + (signature.depth > 0 ? "（嵌套，固件只看外层的签名）" : "") + "：";
        if (chain.empty()) {
            lines.push_back(line + "签名者的证书不在文件里");
            continue;
        }
        lines.push_back(line + "签名者 " + chain.front()->subject.text + "，证书颁发机构 " + chain.front()->issuer.text);
        lines.push_back("      证书链：" + ChainText(chain));
        if (signature.depth == 0) lines.push_back(CheckLine(signature, image.checks[index]));
    }
}


std::string TrustLine(const TrustVerdict& trust) {
    const std::string text = "    安全启动检查：" + TrustText(trust);
    return trust.unchecked ? text + "（有的签名系统无法校验，按有效算）" : text;
}

void FileLines(LogLines& lines, const std::string& heading, const BootManagerFile& file) {
    if (file.status == FileReadStatus::Missing) return lines.push_back("  " + heading + " " + file.path + "：没有");
    lines.push_back("  " + heading + " " + file.path + "：");
    lines.push_back("    " + FileIdentityText(file.identity));
    if (file.status != FileReadStatus::Read) return lines.push_back("    无法读取（" + ReadFailureText(file) + "）");
    if (!file.isImage) return lines.push_back("    不是 PE 映像，无法读取它的签名");
    SignatureLines(lines, file.image);
    const Digest sha256 = file.authenticodeSha256();
    lines.push_back("    Authenticode SHA-256：" + (sha256.empty() ? std::string("无法计算") : HexText(sha256)));
    if (file.trust) lines.push_back(TrustLine(*file.trust));
}

std::string CheckedSecureBootText(const UefiStartCheck& check) {
    switch (check.secureBoot) {
    case SecureBootState::On:
        return check.databaseError == 0
                   ? "开启，检查固件是否会拒绝启动管理器"
                   : "开启，但 db 或 dbx 无法读取（" + VariableErrorText(check.databaseError) + "），无法检查固件是否会拒绝启动管理器";
    case SecureBootState::Off: return "关闭，固件不检查启动管理器的签名";
    case SecureBootState::NotSupported: return "固件不支持，不检查启动管理器的签名";
    case SecureBootState::Unknown: break;
    }
    const std::string why = check.secureBootError != 0 ? "（" + VariableErrorText(check.secureBootError) + "）" : "";
    return "状态不明" + why + "，没有检查固件是否会拒绝启动管理器";
}

bool Unreadable(std::uint32_t error) {
    return error != 0 && error != VariableNotFoundError;
}

} // namespace

std::string RefusalReasonsText(const TrustVerdict& trust) {
    std::vector<std::string> forbidden;
    for (const SignatureVerdict& signature : trust.signatures) {
        forbidden.insert(forbidden.end(), signature.forbiddenBy.begin(), signature.forbiddenBy.end());
    }
    std::vector<std::string> reasons;
    for (const TrustRefusal refusal : trust.refusals) {
        switch (refusal) {
        case TrustRefusal::NotAllowedByDb: reasons.push_back("没有一个签名能校验到 db 里的证书，db 里也没有它的哈希"); break;
        case TrustRefusal::CertificateInDbx: reasons.push_back("它的签名用到的证书被 dbx 禁止（" + JoinedText(forbidden, "；") + "）"); break;
        case TrustRefusal::FileHashInDbx: reasons.push_back("它的哈希在 dbx 里"); break;
        case TrustRefusal::DigestMismatch: reasons.push_back("文件与它的签名不符（已损坏或被改动）"); break;
        case TrustRefusal::SignatureInvalid: reasons.push_back("它的签名校验不通过"); break;
        case TrustRefusal::MalformedCertificateTable: reasons.push_back("它的证书表有误"); break;
        }
    }
    return JoinedText(reasons, "；");
}

std::string TrustText(const TrustVerdict& trust) {
    std::vector<std::string> allowed, forbidden;
    for (const SignatureVerdict& signature : trust.signatures) {
        allowed.insert(allowed.end(), signature.allowedBy.begin(), signature.allowedBy.end());
        forbidden.insert(forbidden.end(), signature.forbiddenBy.begin(), signature.forbiddenBy.end());
    }
    if (trust.refusals.empty()) {
        return "没有发现固件会拒绝它的已知原因（db 里有" + (trust.fileHashInDb ? "它的哈希" : " " + JoinedText(allowed, "；")) +
               "）；启动管理器的安全版本号（SVN）没有检查，Microsoft 的吊销也用它";
    }
    return "固件会拒绝它，因为" + RefusalReasonsText(trust);
}

std::string VariableErrorText(std::uint32_t error) {
    const std::string number = "错误 " + std::to_string(error);
    if (error == PrivilegeNotHeldError) return number + "，没有读取固件变量的权限";
    if (error == InvalidFunctionError) return number + "，系统不提供固件变量";
    return number;
}

LogLines UefiStateLines(const UefiBootState& state) {
    const std::uint32_t error = state.secureBoot.error;
    if (Unreadable(error) && state.bootOrder.error == error && state.db.error == error && state.dbx.error == error) {
        return {"固件变量：无法读取（" + VariableErrorText(error) + "），安全启动的状态、签名数据库和固件启动项都不知道"};
    }
    LogLines lines{"安全启动：" + SecureBootText(state)};
    DatabaseLines(lines, "安全启动的允许列表 db", state.db);
    DatabaseLines(lines, "安全启动的禁止列表 dbx", state.dbx);
    AddBootEntryLines(lines, state);
    return lines;
}

LogLines UefiStartLines(const UefiStartCheck& check) {
    LogLines lines{"UEFI 启动检查（引导盘 " + check.bootPartition + "）：", "  安全启动：" + CheckedSecureBootText(check),
                   "  固件启动项：" + EntryFindingText(check)};
    FileLines(lines, "Windows 启动管理器", check.bootManager);
    const BootManagerFile& fallback = check.fallback;
    if (fallback.isImage && check.bootManager.isImage &&
        !fallback.authenticodeSha256().empty() && fallback.authenticodeSha256() == check.bootManager.authenticodeSha256()) {
        lines.push_back("  回退启动文件 " + fallback.path + "：与 Windows 启动管理器相同（Authenticode SHA-256 相同）");
        return lines;
    }
    FileLines(lines, "回退启动文件", fallback);
    return lines;
}

} // namespace orvanta
