#pragma once
// A boot manager file as read and checked: before a run the one an
// installation holds for bcdboot to copy, after a UEFI repair the one bcdboot
// left on the boot partition. Whether it matches its signature needs no
// firmware; whether Secure Boot refuses it needs the firmware's db and dbx.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "discovery/firmware/UefiBootState.h"
#include "platform/files/Crypto.h"
#include "platform/files/FileIdentities.h"
#include "platform/files/FileSystem.h"
#include "repair/secureboot/BootManagerTrust.h"
#include "repair/secureboot/SignatureCheck.h"

namespace orvanta {

// bootmgfw.efi is about 2.5 MB; a larger file is not read.
inline constexpr std::size_t LargestBootManagerSize = 32 * 1024 * 1024;

struct BootManagerFile {
    std::string path; // "Z:\EFI\Microsoft\Boot\bootmgfw.efi"
    FileReadStatus status = FileReadStatus::Missing;
    std::uint32_t error = 0;  // the system's, when it could not be read
    bool isImage = false;     // read, and a PE image whose hashed parts lie within it
    std::uint16_t machine = 0;
    SignedImage image;        // its signatures, checked
    FileIntegrity integrity = FileIntegrity::Unchecked;
    FileIdentity identity;    // what the system says of its signature, when asked
    // With Secure Boot on and db read (dbx read or missing): the verdict.
    std::optional<TrustVerdict> trust;

    bool refused() const { return trust && trust->refused(); }
    // It doesn't match its signature: Secure Boot refuses it whatever db holds.
    bool damaged() const { return isImage && integrity == FileIntegrity::Damaged; }
    // Its Authenticode SHA-256; empty when it could not be taken.
    Digest authenticodeSha256() const;
};

struct BootFileServices {
    FileSystem& files;
    FileIdentities& fileIdentities;
    Crypto& crypto;
};

// Reads and checks the file; asks the system about its signature when `identify`.
BootManagerFile ReadBootManagerFile(BootFileServices services, const std::string& path, bool identify);

// Whether db and dbx can be judged against: db read, dbx read or missing (a PC without dbx forbids nothing).
bool DatabasesReadable(const UefiBootState& state);

// The verdict against the firmware's databases, for a file that is an image.
void JudgeBootManagerFile(BootManagerFile& file, const UefiBootState& state, Crypto& crypto);

} // namespace orvanta
