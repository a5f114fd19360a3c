#pragma once
// Named mutexes through CreateMutexW and a wait that doesn't wait.
#include <windows.h>

#include <map>
#include <string>

#include "platform/system/NamedMutexes.h"
#include "win32/base/ScopedHandles.h"

namespace orvanta::win32 {

class Win32NamedMutexes final : public NamedMutexes {
public:
    MutexAttempt tryTake(const std::string& name) override;
    void release(const std::string& name) override;

private:
    std::map<std::string, UniqueHandle> taken_; // held by this process (its main thread)
};

} // namespace orvanta::win32
