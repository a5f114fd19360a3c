#pragma once
// The Windows version as the system reports it to this program.
#include "platform/system/VersionQuery.h"

namespace orvanta::win32 {

class Win32Version final : public VersionQuery {
public:
    std::uint32_t majorVersion() override;
};

} // namespace orvanta::win32
