#pragma once
// Administrator rights from the process token; a restart through the
// system's consent prompt.
#include <windows.h>

#include "platform/system/Elevation.h"

namespace orvanta::win32 {

class Win32Elevation final : public Elevation {
public:
    // The consent prompt belongs to this window, so that it comes to the front.
    void setOwner(HWND owner) { owner_ = owner; }

    bool isElevated() override;
    bool restartElevated() override;

private:
    HWND owner_ = nullptr;
};

} // namespace orvanta::win32
