#pragma once
// Administrator rights from the process token; a restart through the
// system's consent prompt.
#include "platform/Elevation.h"

namespace orvanta::win32 {

class Win32Elevation final : public Elevation {
public:
    bool isElevated() override;
    bool restartElevated() override;
};

} // namespace orvanta::win32
