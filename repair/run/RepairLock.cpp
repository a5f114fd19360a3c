#include "repair/run/RepairLock.h"

#include "platform/errors/SystemErrors.h"

namespace orvanta {

LockState LockStateOf(const MutexAttempt& attempt) {
    if (attempt.openError == AccessDeniedError) return LockState::HeldByAnother;
    if (attempt.openError != 0) return LockState::Unavailable;
    switch (attempt.wait) {
    case MutexWait::Taken: return LockState::Taken;
    case MutexWait::Abandoned: return LockState::HolderDied;
    case MutexWait::TimedOut: return LockState::HeldByAnother;
    }
    return LockState::HeldByAnother;
}

RepairLock::RepairLock(NamedMutexes& mutexes) : mutexes_(mutexes) {
    const MutexAttempt attempt = mutexes_.tryTake(RepairMutexName);
    state_ = LockStateOf(attempt);
    error_ = attempt.openError;
}

RepairLock::~RepairLock() {
    if (state_ == LockState::Taken || state_ == LockState::HolderDied) mutexes_.release(RepairMutexName);
}

} // namespace orvanta
