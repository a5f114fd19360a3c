#pragma once
// Where the running executable lies.
#include <string>

namespace orvanta::win32 {

// The executable's full path, however long; "" when the system can't tell.
std::wstring ProgramPath();

// Its folder, without the trailing backslash.
std::wstring ProgramFolder();

} // namespace orvanta::win32
