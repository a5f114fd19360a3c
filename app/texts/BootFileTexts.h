#pragma once
// The words for the boot managers bcdboot will copy, judged before a UEFI
// repair: the log's lines, why /bootex was added, and the two warnings of
// the box before the run (a damaged file; every candidate refused).
#include <string>

#include "app/texts/LogLines.h"
#include "platform/shell/MessageBoxes.h"
#include "repair/run/RepairPlan.h"
#include "repair/run/UefiStartCheck.h"

namespace orvanta {

LogLines UefiBootFileLines(const UefiBootFiles& files);

// The warnings' lines: what is so, what it means for the start, what to do.
std::string BootFileDamagedText(const RepairPlan& plan);
std::string EveryBootManagerRefusedText(const RepairPlan& plan);

// After a UEFI repair, a boot manager bcdboot left that doesn't match its
// signature (when Secure Boot's verdict doesn't say so already): which, and
// how to repair the installation's files first.
Message BootManagerDamagedMessage(const UefiStartCheck& check, const std::string& defaultInstallation);

} // namespace orvanta
