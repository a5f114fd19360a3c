#pragma once
// The running Windows: its folder, its real version, and this build.
#include "platform/system/RunningSystem.h"

namespace orvanta::win32 {

class Win32RunningSystem final : public RunningSystem {
public:
    std::string windowsFolder() override;
    bool isRedirected32Bit() override;
    std::string windowsVersion() override;
    std::string programArchitecture() override;
};

} // namespace orvanta::win32
