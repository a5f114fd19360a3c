#pragma once
// The boot partition as typed or chosen: a drive letter and a colon.
#include <string>

namespace orvanta {

// True for "C:" or "c:" and nothing else.
bool IsDriveLetterAndColon(const std::string& text);

// The message shown when the boot partition's text is not a drive letter and colon.
std::string BadBootPartitionMessage(const std::string& text);

} // namespace orvanta
