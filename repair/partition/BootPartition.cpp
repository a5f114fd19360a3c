#include "repair/partition/BootPartition.h"

namespace orvanta {

bool IsDriveLetterAndColon(const std::string& text) {
    if (text.size() != 2 || text[1] != ':') return false;
    const char letter = text[0];
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

std::string DefaultBootPartition(FirmwareMode firmware, const std::string& systemPartitionLetter) {
    return firmware == FirmwareMode::Uefi && !systemPartitionLetter.empty() ? systemPartitionLetter : "C:";
}

} // namespace orvanta
