#include "win32/system/Win32NamedMutexes.h"

#include "platform/errors/SystemErrors.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {

static_assert(AccessDeniedError == ERROR_ACCESS_DENIED);

// CreateMutexW opens the mutex when another process made it; one made by an
// elevated process under a DACL that shuts this one out fails with
// ERROR_ACCESS_DENIED, which the core reads as "held".
MutexAttempt Win32NamedMutexes::tryTake(const std::string& name) {
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, Widen(name).c_str()));
    if (!mutex.valid()) return {GetLastError(), MutexWait::TimedOut};
    switch (WaitForSingleObject(mutex.get(), 0)) {
    case WAIT_OBJECT_0:
        taken_[name] = std::move(mutex);
        return {0, MutexWait::Taken};
    case WAIT_ABANDONED:
        taken_[name] = std::move(mutex);
        return {0, MutexWait::Abandoned};
    case WAIT_TIMEOUT: return {0, MutexWait::TimedOut};
    default: return {GetLastError(), MutexWait::TimedOut};
    }
}

void Win32NamedMutexes::release(const std::string& name) {
    const auto taken = taken_.find(name);
    if (taken == taken_.end()) return;
    ReleaseMutex(taken->second.get());
    taken_.erase(taken);
}

} // namespace orvanta::win32
