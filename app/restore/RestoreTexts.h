#pragma once
// What /restore says: why it changed nothing, what it did and what the check
// of the store in place found, and its lines in the log.
#include <string>

#include "app/texts/LogLines.h"
#include "platform/shell/MessageBoxes.h"
#include "repair/restore/RestoreReport.h"

namespace orvanta {

// Ctrl+C or Ctrl+Break in the console while stores are renamed, said once.
inline constexpr const char* RestoreNotInterruptibleText = "正在换回 BCD 存储，不能中断：请等它完成。\r\n";

// Why nothing was changed (`report.refusal`).
Message RestoreRefusalMessage(const RestoreReport& report);

// After a restore that began: what lies in the place now, where the store it
// replaced lies, and the check's result; or why it stopped, and where each
// store lies then.
Message RestoreOutcomeMessage(const RestoreReport& report);

LogLines RestoreStartLines(const LocalTime& time, const RestoreReport& report);
LogLines RestoreEndLines(const LocalTime& time, const RestoreReport& report);

} // namespace orvanta
