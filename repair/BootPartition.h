#pragma once
// The boot partition as typed or chosen: a drive letter and a colon.
#include <string>

namespace orvanta {

// True for "C:" or "c:" and nothing else.
bool IsDriveLetterAndColon(const std::string& text);

} // namespace orvanta
