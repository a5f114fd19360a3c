#pragma once
// Workers on threads made with CreateThread, waited for with
// MsgWaitForMultipleObjectsEx so that the window's messages still come
// through; deadlines on GetTickCount64.
#include "platform/threads/Workers.h"

namespace orvanta::win32 {

class Win32Workers final : public Workers {
public:
    std::unique_ptr<Worker> start(const std::string& name, std::function<void()> task) override;
    WorkerWake waitForAny(std::span<Worker* const> workers, std::uint64_t deadline) override;
    std::uint64_t milliseconds() override;
};

} // namespace orvanta::win32
