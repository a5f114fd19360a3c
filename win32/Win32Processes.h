#pragma once
// External programs started with CreateProcessW, waited for without polling;
// their output goes to temporary files, read once they have ended.
#include "platform/Processes.h"

namespace orvanta::win32 {

class Win32Processes final : public Processes {
public:
    std::unique_ptr<StartedProcess> start(const std::string& commandLine, const std::string& workingFolder) override;
};

} // namespace orvanta::win32
