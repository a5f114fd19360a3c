#pragma once
// What is said about writing the firmware's boot entry for Windows Boot
// Manager after a UEFI repair: the question in the window, the result, the
// command line's lines and the repair log's.
#include <string>

#include "app/texts/LogLines.h"
#include "platform/shell/MessageBoxes.h"
#include "repair/run/BootEntryOffer.h"
#include "repair/run/BootEntryWrite.h"
#include "repair/run/UefiStartCheck.h"

namespace orvanta {

// The Yes/No box: what is missing and why, what would be written, and what
// to do instead after No.
Message BootEntryQuestion(const UefiStartCheck& check, const BootEntryOffer& offer);

// The command line without /fwentry, when the window would have asked: the
// switch that writes the entry.
inline constexpr const char* BootEntrySwitchHint =
    "加上 /fwentry 再运行一次 /repair，本程序会写入这个固件启动项并排在启动顺序的第一位。";

// The command line with /fwentry when nothing is offered: why nothing is written.
std::string BootEntryNotWrittenLine(BootEntryOfferState state);

// What the write did, for a box or the console: a note when it held, else a
// warning with what changed and what to do instead.
Message BootEntryWriteMessage(const BootEntryWrite& write, const std::string& bootPartition);

// The log's lines before the write (what is about to change) and after it
// (BootOrder before, the bytes written, what read back, the outcome).
LogLines BootEntryIntentLines(const BootEntryOffer& offer, const std::string& why);
LogLines BootEntryWriteLines(const BootEntryWrite& write);

} // namespace orvanta
