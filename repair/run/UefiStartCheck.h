#pragma once
// After a repair that wrote the UEFI store on a PC that doesn't start from
// BIOS: whether the firmware will start the repaired partition. It reads the
// boot entries and Secure Boot's databases the survey read, and the boot
// manager files bcdboot left on the partition; it writes nothing, to the
// firmware or anywhere else.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "discovery/survey/MachineSurvey.h"
#include "discovery/firmware/UefiBootState.h"
#include "repair/secureboot/BootManagerFile.h"
#include "repair/uefi/FirmwareBootEntry.h"
#include "repair/run/RepairRun.h"

namespace orvanta {

enum class SecureBootState {
    On,           // SecureBoot is 1: the firmware checks every boot manager's signature
    Off,          // SecureBoot is 0
    NotSupported, // the firmware has no SecureBoot variable
    Unknown,      // it could not be read, or holds neither 0 nor 1
};

SecureBootState SecureBootStateOf(const UefiBootState& state);

struct UefiStartCheck {
    std::string bootPartition; // "Z:"
    SecureBootState secureBoot = SecureBootState::Unknown;
    std::uint32_t secureBootError = 0; // SecureBoot's error when Unknown
    // Nothing when it can't be told: BootOrder unreadable (bootOrderError) or
    // the boot partition's place on the disks unknown (!partitionKnown).
    std::optional<BootEntryFinding> entry;
    std::uint32_t bootOrderError = 0;
    bool partitionKnown = false;
    // Secure Boot on, but db or dbx could not be read: their error.
    std::uint32_t databaseError = 0;
    BootManagerFile bootManager; // \EFI\Microsoft\Boot\bootmgfw.efi
    BootManagerFile fallback;    // \EFI\Boot\boot<architecture>.efi; Missing when it isn't there

    // Secure Boot is on and the firmware will refuse a boot manager that is there.
    bool refused() const { return bootManager.refused() || fallback.refused(); }
    // A boot manager there doesn't match its signature, whatever the firmware holds.
    bool damaged() const { return bootManager.damaged() || fallback.damaged(); }
};

using UefiStartServices = BootFileServices;

// The ESP as boot entries name it, for the boot partition: the survey's ESP
// when the partition is its letter, else the located drive of that name.
// Nothing when its place is unknown (on an MBR disk, also its sector size).
std::optional<EspIdentity> EspIdentityOf(const MachineSurvey& survey, const std::string& bootPartition,
                                         const std::string& espLetter);

// "x86", "x64", "arm64": the architecture of the program's build; x64 for any other.
BootArchitecture BootArchitectureOfBuild(const std::string& build);

// The fallback file is named by the boot manager's machine, else by `build`.
UefiStartCheck CheckUefiStart(UefiStartServices services, const std::string& bootPartition,
                              const std::optional<EspIdentity>& esp, const UefiBootState& state, BootArchitecture build);

// The check after a run, when it calls for one: the UEFI store was written
// (repaired or failing its check) and the survey read the firmware's
// variables (a PC not known to start from BIOS). Nothing otherwise.
std::optional<UefiStartCheck> CheckUefiStartAfter(const RepairReport& report, const MachineSurvey& survey,
                                                  const std::string& bootPartition, const std::string& espLetter,
                                                  UefiStartServices services, const std::string& build);

} // namespace orvanta
