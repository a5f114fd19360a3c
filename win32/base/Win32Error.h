#pragma once
// Turns a Win32 error code into the core's PlatformError.
#include <cstdint>
#include <string>

#include "platform/errors/PlatformError.h"

namespace orvanta::win32 {

// The system's own description of the error code, without the trailing line break.
std::string ErrorDescription(std::uint32_t code);

// The error of the last failed call on this thread.
PlatformError LastError();
// An error code as the core's error, with the system's description.
PlatformError LastErrorOf(std::uint32_t code);

} // namespace orvanta::win32
