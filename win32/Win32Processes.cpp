#include "win32/Win32Processes.h"

#include <windows.h>

#include <utility>

#include "win32/ScopedHandles.h"
#include "win32/Utf.h"
#include "win32/Win32Error.h"

namespace orvanta::win32 {
namespace {

class Win32StartedProcess final : public StartedProcess {
public:
    Win32StartedProcess(UniqueHandle process, UniqueHandle thread)
        : process_(std::move(process)), thread_(std::move(thread)) {}

    WakeReason waitForExitOrEvents() override {
        const HANDLE process = process_.get();
        // Sleeps until the process ends or any input or message is queued for
        // this thread, including input seen but not yet removed.
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        // A failed wait can't be repeated usefully; the process is treated as ended.
        return woken == WAIT_OBJECT_0 + 1 ? WakeReason::EventsPending : WakeReason::ProcessEnded;
    }

    std::uint32_t exitCode() override {
        DWORD code = 0;
        GetExitCodeProcess(process_.get(), &code);
        return code;
    }

    void terminate(std::uint32_t exitCode) override { TerminateProcess(process_.get(), exitCode); }

private:
    UniqueHandle process_;
    UniqueHandle thread_;
};

} // namespace

std::unique_ptr<StartedProcess> Win32Processes::start(const std::string& commandLine) {
    std::wstring line = Widen(commandLine); // CreateProcessW may write into its command line
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &started) == FALSE) {
        throw LastError();
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    return std::make_unique<Win32StartedProcess>(std::move(process), std::move(thread));
}

} // namespace orvanta::win32
