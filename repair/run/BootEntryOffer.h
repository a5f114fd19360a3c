#pragma once
// After a UEFI repair: whether to offer writing the firmware's boot entry for
// Windows Boot Manager on the repaired partition, and what writing it would
// do. bcdboot with /s writes no such entry, so after a repair from another
// system or a pre-installation environment the firmware may find the disk
// only through its fallback file, or not at all.
#include <cstdint>
#include <optional>
#include <string>

#include "discovery/survey/MachineSurvey.h"
#include "repair/uefi/FirmwareBootEntry.h"
#include "repair/run/RepairPlan.h"
#include "repair/run/RepairRun.h"
#include "repair/run/UefiStartCheck.h"

namespace orvanta {

enum class BootEntryAction {
    MoveToFront, // an active entry outside BootOrder goes back to its front
    Create,      // a new entry at the lowest free number, first in BootOrder
};

// Offered, or why not.
enum class BootEntryOfferState {
    Offered,
    NotUefi,             // the PC is not known to start from UEFI firmware
    StoreNotRepaired,    // the run failed, or the UEFI store didn't pass its check
    NotStartable,        // the store lies on a partition UEFI firmware can't start from
    BootManagerRefused,  // Secure Boot will refuse the boot manager
    BootManagerDamaged,  // it doesn't match its signature: the firmware refuses it whenever it checks
    BootManagerMissing,  // no boot manager image on the partition
    VariablesUnreadable, // BootOrder or a boot entry couldn't be read
    PartitionUnknown,    // the partition's place (or size, for a new entry) on its disk is unknown
    EntryInPlace,        // an active entry for it is in BootOrder already
    EntryInactive,       // the only entry for it is one the firmware skips
    NoFreeNumber,        // no Boot#### number is known to be free
};

struct BootEntryOffer {
    BootEntryOfferState state = BootEntryOfferState::NotUefi;
    BootEntryAction action = BootEntryAction::Create;
    std::uint16_t entry = 0; // the entry moved, or the number the new one gets
    EspIdentity esp;         // the partition, as the entry names it

    bool offered() const { return state == BootEntryOfferState::Offered; }
};

// From the run, the survey before it and the check after it (nothing when
// it didn't run). Entries are judged as the survey read them; the write
// reads them again.
BootEntryOffer OfferBootEntry(const RepairReport& report, const RepairPlan& plan, const MachineSurvey& survey,
                              const std::optional<UefiStartCheck>& check, const std::string& espLetter);

} // namespace orvanta
