#pragma once
// Whether the firmware has a boot entry that starts Windows Boot Manager from
// the repaired EFI system partition, and where it stands in BootOrder.
// bcdboot with /s writes no such entry; without one the firmware finds the
// disk only through the fallback file \EFI\Boot\boot<architecture>.efi.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/bytes/Guid.h"
#include "discovery/firmware/UefiBootState.h"

namespace orvanta {

inline constexpr std::string_view WindowsBootManagerPath = "\\EFI\\Microsoft\\Boot\\bootmgfw.efi";

// The ESP as a boot entry's hard-drive node names it.
struct EspIdentity {
    std::optional<Guid> gptPartition;             // on a GPT disk: the partition's GUID
    std::optional<std::uint32_t> mbrDiskSignature; // on an MBR disk: the disk's signature...
    std::uint64_t startLba = 0;                    // ...and the partition's first block
    // What a new entry's node also gives: the partition's number on its disk
    // and its size in blocks (0 when the disk's block size is unknown).
    std::uint32_t partitionNumber = 0;
    std::uint64_t sizeLba = 0;
};

// The hard-drive node a new entry for the ESP gets; nothing when its size is unknown.
std::optional<HardDriveNode> HardDriveNodeOf(const EspIdentity& esp);

enum class BootEntryPlace {
    NoEntry,        // no entry starts the ESP's boot manager
    NotInBootOrder, // an active one does, but BootOrder doesn't name it
    Inactive,       // only one the firmware skips does (not LOAD_OPTION_ACTIVE), in BootOrder or not
    First,          // the firmware tries it before any other
    BehindAnother,  // another active entry comes before it
};

struct BootEntryFinding {
    BootEntryPlace place = BootEntryPlace::NoEntry;
    std::uint16_t entry = 0;      // the Boot#### that starts it, when there is one
    std::size_t position = 0;     // its place in BootOrder, from 1; 0 when not in it
    std::uint16_t ahead = 0;      // BehindAnother: the first active entry before it
    std::string aheadDescription; // that entry's description

    bool operator==(const BootEntryFinding&) const = default;
};

// Among the entries that read whole, those whose device path has a hard-drive
// node naming the ESP and whose file path is Windows Boot Manager's (letter
// case aside); an active one counts before an inactive one, one in BootOrder
// before one outside it, and then the earliest in BootOrder.
BootEntryFinding FindWindowsBootEntry(const std::vector<BootEntry>& entries, const std::vector<std::uint16_t>& bootOrder,
                                      const EspIdentity& esp);

enum class BootArchitecture { X86, X64, Arm64 };

// From a PE image's machine (0x014C, 0x8664, 0xAA64); nothing for another.
std::optional<BootArchitecture> BootArchitectureOfMachine(std::uint16_t machine);

// "\EFI\Boot\bootx64.efi", "\EFI\Boot\bootia32.efi", "\EFI\Boot\bootaa64.efi".
std::string FallbackBootPath(BootArchitecture architecture);

} // namespace orvanta
