#include "platform/system/WindowsVersion.h"

namespace orvanta {

std::int16_t WindowsMajorVersion(VersionQuery& version) {
    return static_cast<std::int16_t>(version.majorVersion());
}

bool HasTaskbarProgress(VersionQuery& version) {
    return WindowsMajorVersion(version) > 5;
}

} // namespace orvanta
