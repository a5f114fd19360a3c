#pragma once
// What the UEFI result says after the check of the repaired partition: the
// firmware's boot entry for it, and whether Secure Boot will refuse its boot
// manager.
#include <string>

#include "platform/shell/MessageBoxes.h"
#include "repair/run/UefiStartCheck.h"

namespace orvanta {

// What a Windows from that partition runs to make its boot manager the
// firmware's first boot entry.
inline constexpr const char* AddFirstBootEntryCommand = "bcdedit /set {fwbootmgr} displayorder {bootmgr} /addfirst";

// "Windows UEFI CA 2023" of "CN=Windows UEFI CA 2023, O=Microsoft Corporation, C=US";
// the whole name when it has no common name first.
std::string CommonNameOf(const std::string& name);

// The lines after "UEFI引导修复成功！": with Secure Boot on, that nothing
// known makes the firmware refuse the boot manager; when no boot entry
// starts it, that only the fallback file (or nothing) lets the firmware find
// the disk, the one-time boot menu, and how to add the entry (unless an offer
// to write it follows, `withEntryNote` false); when another entry comes
// first, which. "" when there is nothing to add.
std::string UefiSuccessNote(const UefiStartCheck& check, bool withEntryNote = true);

// No active entry in BootOrder starts the boot manager: which entry there is
// (or why there is none) and what lets the firmware find the disk.
std::string MissingEntryText(const UefiStartCheck& check);

// The one-time boot menu, and the command that adds the entry from Windows.
std::string BootMenuAdvice();

// Secure Boot will refuse a boot manager on the partition: which, its CA,
// why, the CAs db allows and what to do. The boot entry's note follows.
Message BootManagerRefusedMessage(const UefiStartCheck& check);

} // namespace orvanta
