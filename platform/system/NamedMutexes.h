#pragma once
// Mutexes named across the sessions of the machine ("Global\\…"), held by
// one process at a time.
#include <cstdint>
#include <string>

namespace orvanta {

// What trying to take an opened mutex without waiting gave.
enum class MutexWait {
    Taken,     // it was free: this process holds it now
    Abandoned, // its holder ended without releasing it: this process holds it now
    TimedOut,  // another process holds it
};

struct MutexAttempt {
    std::uint32_t openError = 0; // the system's error when it could be neither opened nor created
    MutexWait wait = MutexWait::Taken;

    bool operator==(const MutexAttempt&) const = default;
};

class NamedMutexes {
public:
    virtual ~NamedMutexes() = default;
    // Opens the named mutex (creating it when there is none) and tries to take it at once.
    virtual MutexAttempt tryTake(const std::string& name) = 0;
    // Releases the named mutex this process took, and closes it.
    virtual void release(const std::string& name) = 0;
};

} // namespace orvanta
