#pragma once
// The repair whose tools run and whose old stores lie aside, and only that
// time: what the end of the session abandons, and what it is refused for,
// with the reason the system shows. The result boxes come after it and block
// nothing. Its state may be read from another thread.
#include <atomic>
#include <cstdint>
#include <optional>

#include "app/texts/UserMessages.h"
#include "platform/shell/ShutdownBlock.h"
#include "repair/run/RepairRun.h"

namespace orvanta {

class ActiveRepair {
public:
    // True while a run is carried out.
    bool running() const { return run_ != nullptr; }

    // The session ends: a run is abandoned (its tool stopped, the old stores
    // back). False when only this program is asked to close: nothing is done,
    // the close request that follows decides.
    bool endSession(SessionEnd end) {
        if (end == SessionEnd::CloseRequested) return false;
        if (RepairRun* run = run_; run != nullptr) run->abandon();
        return true;
    }

    // What the run has found and done so far; nothing when none runs.
    std::optional<RepairReport> reportSoFar() const {
        const RepairRun* run = run_;
        return run != nullptr ? std::optional(run->report()) : std::nullopt;
    }

    // For as long as the run is carried out; `window` names the reason to the
    // system (0: no window, no reason).
    class Scope {
    public:
        Scope(ActiveRepair& active, RepairRun& run, ShutdownBlock& block, std::uintptr_t window)
            : active_(active), block_(block), window_(window) {
            if (window_ != 0) block_.setReason(window_, ShutdownBlockReason);
            active_.run_ = &run;
        }
        ~Scope() {
            active_.run_ = nullptr;
            if (window_ != 0) block_.clearReason(window_);
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        ActiveRepair& active_;
        ShutdownBlock& block_;
        std::uintptr_t window_;
    };

private:
    std::atomic<RepairRun*> run_ = nullptr;
};

} // namespace orvanta
