#pragma once
// What is said when a repair may not start because of another instance or a
// store held open, and what the log says of the repair's mutex.
#include <string>

#include "app/texts/LogLines.h"
#include "platform/shell/MessageBoxes.h"
#include "repair/run/RepairLock.h"
#include "repair/run/RepairRun.h"

namespace orvanta {

// Another instance repairs now; nothing was changed.
Message AnotherRepairMessage();

// Why a held store refused the run, for the log's one line.
std::string StoreRefusalReasonText(const StoreRefusal& refusal);
// The same, with what to do, as the box (or /repair) says it.
Message StoreRefusalMessage(const StoreRefusal& refusal);

// What the log notes of the mutex when it was not simply free.
LogLines RepairLockLines(const RepairLock& lock);

} // namespace orvanta
