#pragma once
// What the UEFI firmware says about how it starts the PC, read from its
// variables: Secure Boot, the boot entries and their order, and the
// databases that decide which boot managers it trusts.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/firmware/LoadOption.h"
#include "discovery/firmware/SecureBootDatabase.h"
#include "platform/system/Firmware.h"

namespace orvanta {

// EFI_GLOBAL_VARIABLE (SecureBoot, SetupMode, BootOrder, BootCurrent,
// Boot####) and EFI_IMAGE_SECURITY_DATABASE_GUID (db, dbx).
inline constexpr std::string_view GlobalVariableVendor = "{8be4df61-93ca-11d2-aa0d-00e098032b8c}";
inline constexpr std::string_view ImageSecurityVendor = "{d719b2cb-3d3a-4596-a3bc-dad00e67656f}";

// Boot entries beyond this many in BootOrder are not read, nor beyond this
// many outside it.
inline constexpr std::size_t MostBootEntriesRead = 64;
inline constexpr std::size_t MostUnorderedEntriesRead = 256;

// Where the system doesn't list the variables' names, Boot0000 up to this are
// asked for one by one.
inline constexpr std::uint16_t LastProbedBootEntry = 0x00FF;

// How the boot entries outside BootOrder were looked for.
enum class BootEntrySearch {
    None,   // BootOrder couldn't be read: none was
    Listed, // by the names of all variables, as the system listed them
    Probed, // the system lists no names: Boot0000 to Boot00FF, one by one
};

// A variable's value, or the system's error when it couldn't be read
// (VariableNotFoundError: the firmware has no such variable).
template <typename Value>
struct VariableReading {
    Value value{};
    std::uint32_t error = 0;
};

struct BootEntry {
    std::uint16_t number = 0; // the #### of Boot####
    VariableReading<LoadOption> option;
};

struct UefiBootState {
    VariableReading<std::optional<bool>> secureBoot; // nothing inside: not one byte of 0 or 1
    VariableReading<std::optional<bool>> setupMode;
    VariableReading<std::vector<std::uint16_t>> bootOrder;
    VariableReading<std::optional<std::uint16_t>> bootCurrent; // nothing inside: not two bytes
    // Each number of BootOrder once, in its order, then every other Boot####
    // found, by number (one that couldn't be read with its error).
    std::vector<BootEntry> entries;
    BootEntrySearch entrySearch = BootEntrySearch::None;
    std::uint32_t nameListError = 0; // Probed: why the names couldn't be listed
    bool moreEntries = false;        // more Boot#### outside BootOrder than were read
    VariableReading<SecureBootDatabase> db;
    VariableReading<SecureBootDatabase> dbx;
};

// "Boot0001", "Boot00A3": four upper-case hexadecimal digits.
std::string BootEntryName(std::uint16_t number);

UefiBootState ReadUefiBootState(Firmware& firmware);

// Only BootOrder and the boot entries, read again (the rest left unread).
UefiBootState ReadBootEntries(Firmware& firmware);

// The lowest number no Boot#### has and BootOrder doesn't name, among those
// looked for (up to Boot00FF when probed); nothing when the entries couldn't
// all be looked for or none is free.
std::optional<std::uint16_t> LowestFreeBootNumber(const UefiBootState& state);

} // namespace orvanta
