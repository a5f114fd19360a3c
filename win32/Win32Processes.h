#pragma once
// External programs started with CreateProcessW, waited for without polling.
#include "platform/Processes.h"

namespace orvanta::win32 {

class Win32Processes final : public Processes {
public:
    std::unique_ptr<StartedProcess> start(const std::string& commandLine) override;
};

} // namespace orvanta::win32
