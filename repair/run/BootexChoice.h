#pragma once
// Before a UEFI repair: the boot managers bcdboot will copy from each
// installation, judged before anything changes. bcdboot copies
// \Windows\Boot\EFI\bootmgfw.efi, or with /bootex the one Windows updates
// since April 2024 keep in \Windows\Boot\EFI_EX, signed under the "Windows
// UEFI CA 2023" (firmware whose dbx revokes the 2011 CA refuses the first).
// Whether a file matches its signature needs no firmware; whether Secure
// Boot refuses it needs db and dbx, read.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/firmware/UefiBootState.h"
#include "platform/text/ConsoleCodePage.h"
#include "platform/threads/Processes.h"
#include "repair/secureboot/BootManagerFile.h"

namespace orvanta {

// Below an installation's Windows folder.
inline constexpr std::string_view InstallationBootManagerPath = "\\Boot\\EFI\\bootmgfw.efi";
inline constexpr std::string_view InstallationExBootManagerPath = "\\Boot\\EFI_EX\\bootmgfw_EX.efi";

// How long bcdboot may take to show its usage text.
inline constexpr std::uint32_t UsageWaitMilliseconds = 10000;

struct InstallationBootFiles {
    std::string installation; // "C:\Windows"
    BootManagerFile standard;
    BootManagerFile ex;       // Missing when the installation has none
    bool wantsBootex = false; // judged: the standard one refused, the EX one not
    bool bootex = false;      // ...and the bcdboot to run knows /bootex: its UEFI run gets it
    // Judged: every file bcdboot can copy for it would be refused.
    bool everyCandidateRefused() const { return refusedHere(standard) && !bootex; }

    // Refused by the firmware's databases, or damaged: Secure Boot refuses either.
    static bool refusedHere(const BootManagerFile& file) { return file.refused() || (file.trust && file.damaged()); }
};

struct UefiBootFiles {
    std::vector<InstallationBootFiles> installations; // in the run's order; the default last
    bool judged = false;             // Secure Boot on, db read and dbx read or missing
    bool secureBootOn = false;
    std::uint32_t databaseError = 0; // with Secure Boot on, db's or dbx's read error
    std::optional<bool> bcdbootKnowsBootex; // asked only when a choice hangs on it; nothing: couldn't tell

    // The installations whose UEFI run gets /bootex.
    std::vector<std::string> bootexInstallations() const;
    // The files bcdboot will copy that are damaged.
    std::vector<const BootManagerFile*> damagedFiles() const;
};

// Whether a usage text lists /bootex (in any case).
bool UsageNamesBootex(std::string_view usage);

// Whether the bcdboot at `program` knows /bootex, from its usage text ("/?");
// nothing when it can't be started or doesn't end in time. The wait blocks:
// the text comes at once.
std::optional<bool> BcdbootKnowsBootex(Processes& processes, ConsoleCodePage& codePage, const std::string& program);

// Reads and checks each installation's files, judges them when Secure Boot
// is on and the databases read, and asks `knowsBootex` (once, and only when
// an installation's choice hangs on it) whether the bcdboot to run knows /bootex.
UefiBootFiles ChooseUefiBootFiles(const std::vector<std::string>& runOrder, const UefiBootState& state,
                                  BootFileServices services, const std::function<std::optional<bool>()>& knowsBootex);

} // namespace orvanta
