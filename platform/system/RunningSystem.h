#pragma once
// The Windows this program runs on, and the program's own build.
#include <string>

namespace orvanta {

class RunningSystem {
public:
    virtual ~RunningSystem() = default;
    // The running system's Windows folder, such as "C:\Windows" or "X:\Windows".
    virtual std::string windowsFolder() = 0;
    // True for a 32-bit program on 64-bit Windows, whose view of the running
    // system's System32 folder is redirected (its own is reached as Sysnative).
    virtual bool isRedirected32Bit() = 0;
    // The version the kernel reports, such as "10.0.19045".
    virtual std::string windowsVersion() = 0;
    // "x86" or "x64": the program's build.
    virtual std::string programArchitecture() = 0;
};

} // namespace orvanta
