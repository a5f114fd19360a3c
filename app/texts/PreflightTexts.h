#pragma once
// The words for what comes before a run: the drives BitLocker keeps locked,
// the refusals of an encrypted boot partition, of an encrypting boot loader
// and of too little room, and the one warning box the technician answers.
#include <cstddef>
#include <string>
#include <vector>

#include "app/texts/UserMessages.h"
#include "repair/run/RepairPlan.h"

namespace orvanta {

// The status line after a scan: the count of installations, and on a second
// line the drives BitLocker keeps locked, when there are any.
std::string StatusText(std::size_t installations, const std::vector<std::string>& lockedDrives);

// For the message that nothing was found: the installation may lie on a
// locked drive, and how to unlock it; "" when no drive is locked.
std::string UnlockAdvice(const std::vector<std::string>& lockedDrives);

// The refusals CheckBeforeRun gives, with what to do.
Message EncryptedBootPartitionMessage(const RepairPlan& plan);
Message EncryptingBootLoaderMessage(const RepairPlan& plan);
Message NotEnoughRoomMessage(const RepairPlan& plan);

// One warning, as one line: what is so, what it means for the start, what to do.
std::string RunWarningText(RunWarning warning, const RepairPlan& plan, const UefiContext& uefi);
// The one box before a run: each warning on a line, then the question; Yes runs.
Message RunWarningsQuestion(const RepairPlan& plan, const UefiContext& uefi);
// The command line's: the same lines, then that it goes on without asking.
Message RunWarningsNotice(const RepairPlan& plan, const UefiContext& uefi);

} // namespace orvanta
