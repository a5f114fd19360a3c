#pragma once
// Reading the system's drive strings and splitting them into drive names.
#include <string>
#include <vector>

#include "platform/disks/Drives.h"

namespace orvanta {

// The first buffer offered: 64 characters hold 15 drive strings.
inline constexpr std::size_t InitialDriveBufferLength = 64;

// The drive strings, each with its own NUL; "" when the read fails. When the
// strings don't fit, they are read again into a buffer of the size asked for.
std::string ReadDriveStrings(Drives& drives);

// "C:\<NUL>D:\<NUL>" gives {"C:", "D:"}: each string without its backslash.
// Strings too short to hold a letter and a colon are passed over.
std::vector<std::string> SplitDriveNames(const std::string& driveStrings);

} // namespace orvanta
