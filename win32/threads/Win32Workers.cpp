#include "win32/threads/Win32Workers.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "win32/base/RuntimeFunction.h"
#include "win32/base/ScopedHandles.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {
namespace {

// A survey's queries need little stack; stuck threads keep theirs, so each
// only reserves this much of the address space (x86 has 2 GB of it).
constexpr SIZE_T WorkerStackBytes = 256 * 1024;

using CancelSynchronousIoFunction = BOOL(WINAPI*)(HANDLE);
using SetThreadDescriptionFunction = HRESULT(WINAPI*)(HANDLE, PCWSTR);

DWORD WINAPI RunTask(void* parameter) {
    const std::unique_ptr<std::function<void()>> task(static_cast<std::function<void()>*>(parameter));
    try {
        (*task)();
    } catch (...) {
        // Tasks don't throw; should one, its thread ends and nothing else does.
    }
    return 0;
}

class Win32Worker final : public Worker {
public:
    explicit Win32Worker(UniqueHandle thread) : thread_(std::move(thread)) {}

    bool ended() override { return WaitForSingleObject(thread_.get(), 0) == WAIT_OBJECT_0; }

    // Windows Vista and later; a driver may finish the request anyway.
    void askToCancel() override {
        static const auto cancel = LoadedModuleFunction<CancelSynchronousIoFunction>(L"kernel32.dll", "CancelSynchronousIo");
        if (cancel != nullptr) cancel(thread_.get());
    }

    HANDLE handle() const { return thread_.get(); }

private:
    UniqueHandle thread_;
};

// Windows 10 1607 and later: the name a debugger shows for the thread.
void NameThread(HANDLE thread, const std::string& name) {
    static const auto describe =
        LoadedModuleFunction<SetThreadDescriptionFunction>(L"kernel32.dll", "SetThreadDescription");
    if (describe != nullptr) describe(thread, Widen("Orvanta: " + name).c_str());
}

} // namespace

std::unique_ptr<Worker> Win32Workers::start(const std::string& name, std::function<void()> task) {
    auto owned = std::make_unique<std::function<void()>>(std::move(task));
    HANDLE thread = CreateThread(nullptr, WorkerStackBytes, &RunTask, owned.get(), STACK_SIZE_PARAM_IS_A_RESERVATION,
                                 nullptr);
    if (thread == nullptr) return nullptr;
    owned.release(); // the thread's now
    NameThread(thread, name);
    return std::make_unique<Win32Worker>(UniqueHandle(thread));
}

WorkerWake Win32Workers::waitForAny(std::span<Worker* const> workers, std::uint64_t deadline) {
    std::array<HANDLE, MAXIMUM_WAIT_OBJECTS - 1> handles{};
    const DWORD count = static_cast<DWORD>(std::min(workers.size(), handles.size()));
    for (DWORD index = 0; index < count; ++index) handles[index] = static_cast<Win32Worker*>(workers[index])->handle();
    const std::uint64_t now = GetTickCount64();
    const DWORD timeout = deadline <= now ? 0 : static_cast<DWORD>(std::min<std::uint64_t>(deadline - now, INFINITE - 1));
    // Sleeps until a thread ends, the deadline comes, or any input or message
    // is queued for this thread, including input seen but not yet removed.
    const DWORD woken = MsgWaitForMultipleObjectsEx(count, handles.data(), timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken < WAIT_OBJECT_0 + count) return WorkerWake::Ended;
    if (woken == WAIT_OBJECT_0 + count) return WorkerWake::EventsPending;
    if (woken == WAIT_TIMEOUT) return WorkerWake::DeadlinePassed;
    return WorkerWake::Failed;
}

std::uint64_t Win32Workers::milliseconds() {
    return GetTickCount64();
}

} // namespace orvanta::win32
