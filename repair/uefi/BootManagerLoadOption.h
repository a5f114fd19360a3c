#pragma once
// The firmware boot entry this program writes for Windows Boot Manager: an
// EFI_LOAD_OPTION as the UEFI standard's "Load Options" lays it out,
// active, described "Windows Boot Manager", whose device path is the short
// form the firmware completes by the partition's signature: a Hard Drive
// Media node, a File Path node, the End node.
//
// Entries Windows writes also carry optional data ("WINDOWS" and a reference
// to the boot manager's BCD object) in a layout Microsoft doesn't publish.
// None is written: the boot manager finds its BCD store on the partition it
// was started from, as it does when the firmware starts the fallback file.
#include <cstdint>
#include <string_view>
#include <vector>

#include "discovery/bytes/Guid.h"
#include "discovery/firmware/LoadOption.h"

namespace orvanta {

inline constexpr std::string_view WindowsBootManagerDescription = "Windows Boot Manager";

// A GPT partition, named by its GUID; an MBR partition, by its disk's signature.
HardDriveNode GptPartitionNode(std::uint32_t partitionNumber, std::uint64_t startLba, std::uint64_t sizeLba,
                               const Guid& partitionId);
HardDriveNode MbrPartitionNode(std::uint32_t partitionNumber, std::uint64_t startLba, std::uint64_t sizeLba,
                               std::uint32_t diskSignature);

// Attributes, the device path's length, the description in UTF-16 with its
// zero, then HD(drive), File(filePath) and End; no optional data.
std::vector<std::uint8_t> EncodeLoadOption(std::uint32_t attributes, std::string_view description,
                                           const HardDriveNode& drive, std::string_view filePath);

// The active entry that starts \EFI\Microsoft\Boot\bootmgfw.efi from that partition.
std::vector<std::uint8_t> WindowsBootManagerLoadOption(const HardDriveNode& drive);

} // namespace orvanta
