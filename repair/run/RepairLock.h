#pragma once
// One repair at a time on a machine: a repair holds a mutex named across
// sessions from the click (or /repair) to its end, taken after the check for
// administrator rights. Looking (the window, /list) takes nothing.
#include <cstdint>

#include "platform/system/NamedMutexes.h"

namespace orvanta {

inline constexpr const char* RepairMutexName = "Global\\Orvanta.BootRepair";

enum class LockState {
    Taken,           // no other repair runs
    HolderDied,      // the last holder ended mid-repair: this one goes on, and its
                     // leftover backups are found like those of any run cut short
    HeldByAnother,   // another instance repairs now: this one changes nothing
    Unavailable,     // the mutex could not be made: the repair goes on unguarded
};

// ERROR_ACCESS_DENIED on opening means another elevated instance made it.
LockState LockStateOf(const MutexAttempt& attempt);

// Takes the repair's mutex for its lifetime, when it is free.
class RepairLock {
public:
    explicit RepairLock(NamedMutexes& mutexes);
    ~RepairLock();
    RepairLock(const RepairLock&) = delete;
    RepairLock& operator=(const RepairLock&) = delete;

    LockState state() const { return state_; }
    // The system's error when the mutex was unavailable.
    std::uint32_t error() const { return error_; }
    // False when another instance repairs: nothing may be changed.
    bool mayRepair() const { return state_ != LockState::HeldByAnother; }

private:
    NamedMutexes& mutexes_;
    LockState state_;
    std::uint32_t error_;
};

} // namespace orvanta
