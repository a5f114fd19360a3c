#pragma once
// The boot partition as typed or chosen: a drive letter and a colon.
#include <string>

#include "discovery/firmware/FirmwareMode.h"

namespace orvanta {

// True for "C:" or "c:" and nothing else.
bool IsDriveLetterAndColon(const std::string& text);

// The boot partition when none is given (the window's box at start, /repair
// and /restore without /s): the ESP on a UEFI PC when it has a letter, else C:.
std::string DefaultBootPartition(FirmwareMode firmware, const std::string& systemPartitionLetter);

} // namespace orvanta
