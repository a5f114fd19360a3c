#pragma once
// The major version of the running Windows.
#include <cstdint>

#include "platform/system/VersionQuery.h"

namespace orvanta {

// Asks the system anew on every call; 0 when the query fails.
std::int16_t WindowsMajorVersion(VersionQuery& version);

// Taskbar progress exists from major version 6 on.
bool HasTaskbarProgress(VersionQuery& version);

} // namespace orvanta
