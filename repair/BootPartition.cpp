#include "repair/BootPartition.h"

namespace orvanta {

bool IsDriveLetterAndColon(const std::string& text) {
    if (text.size() != 2 || text[1] != ':') return false;
    const char letter = text[0];
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

std::string BadBootPartitionMessage(const std::string& text) {
    return "引导盘“" + text + "”无效：请只填写盘符和冒号，例如 C:。\r\n修复未开始，没有做任何更改。";
}

} // namespace orvanta
