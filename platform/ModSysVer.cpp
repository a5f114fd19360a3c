#include "platform/ModSysVer.h"

namespace orvanta {

std::int16_t OsMajorVersion(VersionQuery& version) {
    return static_cast<std::int16_t>(version.majorVersion());
}

bool HasTaskbarProgress(VersionQuery& version) {
    return OsMajorVersion(version) > 5;
}

} // namespace orvanta
