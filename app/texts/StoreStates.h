#pragma once
// What a run that did not end as planned says of each BCD store: after a tool
// that could not start, the session's end or the console's closing, or an
// error while an old store was put back or kept. It never says every store
// went back unless every one did.
#include <string>

#include "platform/shell/MessageBoxes.h"
#include "repair/run/RepairRun.h"

namespace orvanta {

// One line a store: "BIOS 的 BCD 存储 C:\boot\bcd：已重建。" (CRLF between
// lines); a store that was not there before nor after is left out.
std::string StoreStateLines(const RepairReport& report);

// The repair stopped before its end (`report.error`, or `report.abandoned`):
// why, each store's state, and what to do.
Message AbortMessage(const RepairReport& report);

// An old store could not go back or be kept (`report.settleError`).
Message SettleFailedMessage(const RepairReport& report);

} // namespace orvanta
