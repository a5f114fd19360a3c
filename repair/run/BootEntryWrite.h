#pragma once
// Writing the firmware's boot entry for Windows Boot Manager, once the user
// agreed (or asked for it with /fwentry). BootOrder and the entries are read
// again first; a new entry takes the lowest free number; BootOrder gains it
// at its front and keeps every number it had. Each write is read back and
// compared. No other entry is changed or deleted.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/system/Firmware.h"
#include "repair/run/BootEntryOffer.h"

namespace orvanta {

enum class BootEntryWriteOutcome {
    Written,        // the new entry (if any) and BootOrder read back as written
    StateChanged,   // read again, the partition's entry is in BootOrder now, or only an inactive one is: nothing written
    Unreadable,     // BootOrder or an entry couldn't be read again: nothing written
    NoFreeNumber,   // no number is known to be free: nothing written
    EntryFailed,    // writing the new entry failed: nothing else written
    EntryMismatch,  // the new entry reads back otherwise (or not at all): BootOrder left as it was
    OrderFailed,    // writing BootOrder failed: it is as it was
    OrderMismatch,  // BootOrder reads back otherwise (or not at all)
};

struct BootEntryWrite {
    BootEntryWriteOutcome outcome = BootEntryWriteOutcome::Unreadable;
    BootEntryAction action = BootEntryAction::Create;
    std::uint16_t entry = 0;
    std::vector<std::uint8_t> option;           // Create: the entry's bytes as written
    std::vector<std::uint16_t> orderBefore;     // BootOrder as read again before writing
    std::vector<std::uint16_t> orderWritten;    // what was written to it, when it was
    std::optional<std::vector<std::uint8_t>> readBack; // what the last write read back as, when it was read
    std::uint32_t error = 0;                    // the system's, for a failed read or write

    bool written() const { return outcome == BootEntryWriteOutcome::Written; }
};

BootEntryWrite WriteWindowsBootEntry(Firmware& firmware, const EspIdentity& esp);

} // namespace orvanta
