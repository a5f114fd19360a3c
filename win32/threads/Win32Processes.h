#pragma once
// External programs started with CreateProcessW, waited for without polling;
// their output goes to temporary files, read once they have ended.
#include "platform/threads/Processes.h"
#include "win32/base/ScopedHandles.h"

namespace orvanta::win32 {

// One tool runs at a time: the same two temporary files take the output of
// each, emptied before it starts.
class Win32Processes final : public Processes {
public:
    Win32Processes();
    std::unique_ptr<StartedProcess> start(const std::string& commandLine, const std::string& workingFolder) override;

    // An event (manual-reset) that also wakes the wait for a tool, as window
    // events do; the event pump handles it. Not owned.
    void setWakeEvent(HANDLE event) { wakeEvent_ = event; }

private:
    static HANDLE OutputFile(UniqueHandle& file);

    HANDLE wakeEvent_ = nullptr;

    UniqueHandle input_; // the null device, the tools' standard input
    UniqueHandle output_;
    UniqueHandle error_;
};

} // namespace orvanta::win32
