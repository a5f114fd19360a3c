#pragma once
// The repair log's and /list's lines about the firmware's boot entries:
// BootOrder's in its order, then those it doesn't name, and how they were
// looked for.
#include "app/texts/LogLines.h"
#include "discovery/firmware/UefiBootState.h"

namespace orvanta {

// "Boot0003 “Windows Boot Manager”：GPT 分区 {…}，\EFI\Microsoft\Boot\bootmgfw.efi"
// a line for each entry, marked when inactive, started from this time or
// read with a fault.
void AddBootEntryLines(LogLines& lines, const UefiBootState& state);

} // namespace orvanta
