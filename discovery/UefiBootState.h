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

#include "discovery/LoadOption.h"
#include "discovery/SecureBootDatabase.h"
#include "platform/Firmware.h"

namespace orvanta {

// EFI_GLOBAL_VARIABLE (SecureBoot, SetupMode, BootOrder, BootCurrent,
// Boot####) and EFI_IMAGE_SECURITY_DATABASE_GUID (db, dbx).
inline constexpr std::string_view GlobalVariableVendor = "{8be4df61-93ca-11d2-aa0d-00e098032b8c}";
inline constexpr std::string_view ImageSecurityVendor = "{d719b2cb-3d3a-4596-a3bc-dad00e67656f}";

// Boot entries beyond this many in BootOrder are not read.
inline constexpr std::size_t MostBootEntriesRead = 64;

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
    std::vector<BootEntry> entries; // each number of BootOrder once, in its order
    VariableReading<SecureBootDatabase> db;
    VariableReading<SecureBootDatabase> dbx;
};

// "Boot0001", "Boot00A3": four upper-case hexadecimal digits.
std::string BootEntryName(std::uint16_t number);

UefiBootState ReadUefiBootState(Firmware& firmware);

} // namespace orvanta
