#include "repair/RepairMessages.h"


namespace orvanta {
namespace {

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Hexadecimal(std::uint32_t value) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        text += Digits[(value >> static_cast<unsigned>(shift)) & 0xFU];
    }
    return text;
}

} // namespace

std::string MissingToolsMessage(const std::vector<std::string>& missingPaths) {
    std::string text;
    for (const std::string& path : missingPaths) {
        text += "找不到修复工具 " + FileNameOf(path) + "，它应在：" + path + "\r\n";
    }
    text += "请把 bcdboot.exe 和 bootsect.exe 放进本程序所在文件夹的 Bin 文件夹。\r\n"
            "修复未开始，没有做任何更改。";
    return text;
}

std::string FailedToolsMessage(const std::vector<FailedTool>& failures) {
    std::string text = "以下修复命令没有成功完成：\r\n";
    for (const FailedTool& failure : failures) {
        text += failure.commandLine + "\r\n退出代码：" + std::to_string(failure.exitCode) + "（" +
                Hexadecimal(failure.exitCode) + "）\r\n";
    }
    text += "引导可能没有完全修复，请检查后再试。";
    return text;
}

} // namespace orvanta
