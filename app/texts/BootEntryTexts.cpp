#include "app/texts/BootEntryTexts.h"

#include "app/phrases/JoinedText.h"
#include "app/texts/UefiLogLines.h"
#include "app/texts/UefiMessages.h"
#include "app/texts/UserMessages.h"
#include "discovery/firmware/UefiBootState.h"
#include "platform/errors/SystemErrors.h"
#include "platform/text/TextEncodings.h"
#include "repair/uefi/BootManagerLoadOption.h"

namespace orvanta {
namespace {

using Outcome = BootEntryWriteOutcome;

const std::string Untouched = "其他固件启动项不会被更改或删除。";

std::string NewEntryText(std::uint16_t entry) {
    return BootEntryName(entry) + "“" + std::string(WindowsBootManagerDescription) + "”";
}

// A write's error; a read's is told as the log tells it.
std::string ErrorText(std::uint32_t error) {
    const std::string number = "错误 " + std::to_string(error);
    return error == PrivilegeNotHeldError ? number + "，没有修改固件变量的权限" : VariableErrorText(error);
}

std::string OrderText(const std::vector<std::uint16_t>& order) {
    if (order.empty()) return "空";
    std::vector<std::string> names;
    for (const std::uint16_t number : order) names.push_back(BootEntryName(number));
    return JoinedText(names, "、");
}

// What went wrong and what is as it was; "" when it held.
std::string FailureText(const BootEntryWrite& write) {
    const std::string entry = BootEntryName(write.entry);
    const std::string unchanged = "固件里的启动项和启动顺序没有改变。";
    const std::string readBack = write.error != 0 ? "无法读出（" + VariableErrorText(write.error) + "）" : "读出的内容与写入的不同";
    switch (write.outcome) {
    case Outcome::Written:
    case Outcome::StateChanged: break;
    case Outcome::Unreadable: return "重新读取固件启动项时出错（" + VariableErrorText(write.error) + "），" + unchanged;
    case Outcome::NoFreeNumber: return "找不到空闲的启动项编号，" + unchanged;
    case Outcome::EntryFailed: return "写入 " + entry + " 失败（" + ErrorText(write.error) + "），" + unchanged;
    case Outcome::EntryMismatch: return "写入 " + entry + " 后" + readBack + "，固件可能没有保存它；启动顺序没有改变。";
    case Outcome::OrderFailed:
        return "写入启动顺序（BootOrder）失败（" + ErrorText(write.error) + "），启动顺序没有改变" +
               (write.action == BootEntryAction::Create ? "；新建的 " + entry + " 不在启动顺序里。" : "。");
    case Outcome::OrderMismatch: return "写入启动顺序（BootOrder）后" + readBack + "，固件可能没有保存它。";
    }
    return {};
}

std::string StateText(BootEntryOfferState state) {
    switch (state) {
    case BootEntryOfferState::Offered: break;
    case BootEntryOfferState::NotUefi: return "这台电脑不是从 UEFI 固件启动的";
    case BootEntryOfferState::StoreNotRepaired: return "UEFI 的 BCD 存储没有修复成功";
    case BootEntryOfferState::NotStartable: return "UEFI 引导文件不在 UEFI 固件能启动的分区上";
    case BootEntryOfferState::BootManagerRefused: return "安全启动会拒绝这个 Windows 启动管理器";
    case BootEntryOfferState::BootManagerDamaged: return "这个 Windows 启动管理器与它的签名不符，已损坏或被改动";
    case BootEntryOfferState::BootManagerMissing: return "引导盘上没有可用的 Windows 启动管理器";
    case BootEntryOfferState::VariablesUnreadable: return "固件启动项无法全部读取";
    case BootEntryOfferState::PartitionUnknown: return "不知道引导盘在磁盘上的位置";
    case BootEntryOfferState::EntryInPlace: return "启动它的固件启动项已在启动顺序里";
    case BootEntryOfferState::EntryInactive: return "启动它的固件启动项已停用，本程序不改动它";
    case BootEntryOfferState::NoFreeNumber: return "找不到空闲的启动项编号";
    }
    return {};
}

} // namespace

Message BootEntryQuestion(const UefiStartCheck& check, const BootEntryOffer& offer) {
    const std::string& partition = check.bootPartition;
    std::string text = MissingEntryText(check) + "\r\n";
    text += offer.action == BootEntryAction::Create
                ? "本程序可以在固件里新建启动项 " + NewEntryText(offer.entry) + "，启动 " + partition + " 上的 " +
                      std::string(WindowsBootManagerPath) + "，并把它排在启动顺序的第一位；" + Untouched
                : "本程序可以把 " + BootEntryName(offer.entry) + " 放回启动顺序的第一位；" + Untouched;
    text += "\r\n选“否”则不做更改，以后可以进入修复好的 Windows，在以管理员身份运行的命令提示符里执行：\r\n" +
            std::string(AddFirstBootEntryCommand) + "\r\n是否现在写入？";
    return {text, NoteTitle, MessageStyle::Information};
}

std::string BootEntryNotWrittenLine(BootEntryOfferState state) {
    return "没有写入固件启动项（/fwentry）：" + StateText(state) + "。";
}

Message BootEntryWriteMessage(const BootEntryWrite& write, const std::string& bootPartition) {
    const std::string next = "下次启动时，固件会先启动 " + bootPartition + " 上的 Windows 启动管理器。";
    if (write.written()) {
        const std::string what = write.action == BootEntryAction::Create
                                     ? "已在固件里新建启动项 " + NewEntryText(write.entry) + "，并把它排在启动顺序的第一位："
                                     : "已把固件启动项 " + BootEntryName(write.entry) + " 放回启动顺序的第一位：";
        return {what + next, NoteTitle, MessageStyle::Information};
    }
    if (write.outcome == Outcome::StateChanged) {
        return {"重新读取后，固件里已经有启动 " + bootPartition + " 上 Windows 启动管理器的启动项，本程序没有做更改。", NoteTitle,
                MessageStyle::Information};
    }
    return {"固件启动项没有写成功：" + FailureText(write) + "\r\n" + BootMenuAdvice(), WarningTitle, MessageStyle::Warning};
}

LogLines BootEntryIntentLines(const BootEntryOffer& offer, const std::string& why) {
    const std::string what = offer.action == BootEntryAction::Create
                                 ? "新建 " + NewEntryText(offer.entry) + "（" + std::string(WindowsBootManagerPath) + "）"
                                 : "把 " + BootEntryName(offer.entry) + " 放回";
    return {"写入固件启动项（" + why + "）：" + what + "，排在启动顺序的第一位"};
}

LogLines BootEntryWriteLines(const BootEntryWrite& write) {
    LogLines lines{"  之前的启动顺序：" + OrderText(write.orderBefore)};
    if (!write.option.empty()) {
        lines.push_back("  " + BootEntryName(write.entry) + " 的内容（" + std::to_string(write.option.size()) + " 字节）：" +
                        HexText(write.option));
    }
    if (!write.orderWritten.empty()) lines.push_back("  写入的启动顺序：" + OrderText(write.orderWritten));
    if (write.readBack && !write.written()) lines.push_back("  读出的内容：" + HexText(*write.readBack));
    if (write.written()) {
        lines.push_back("  结果：已写入，读出的内容与写入的相同");
    } else if (write.outcome == Outcome::StateChanged) {
        lines.push_back("  结果：重新读取后已有启动本分区 Windows 启动管理器的启动项（在启动顺序里或已停用），没有写入");
    } else {
        lines.push_back("  结果：" + FailureText(write));
    }
    return lines;
}

} // namespace orvanta
