#pragma once
// The log's and /list's words for the disks: each disk's partition style,
// active partition and MBR boot code, every EFI system partition with the one
// chosen and why, a volume's BitLocker state, and where the boot partition
// lies with the room it has.
#include <cstdint>
#include <string>
#include <vector>

#include "discovery/survey/MachineSurvey.h"
#include "discovery/volumes/VolumeEncryption.h"
#include "repair/run/RepairPlan.h"

namespace orvanta {

// "磁盘 0 分区 3".
std::string PlaceText(std::uint32_t disk, std::uint32_t partition);
// "NVMe", "USB"..., for a STORAGE_BUS_TYPE.
std::string BusName(std::uint32_t bus);
// "12.5 MB" (MiB with one decimal), rounded down or up.
std::string MegabytesText(std::uint64_t bytes, bool roundUp = false);
// Whose code an MBR holds: "GRUB 的引导代码".
std::string BootCodeName(MasterBootCodeKind kind);
// "，BitLocker：已锁定" for a drive line; "" when not encrypted.
std::string EncryptionSuffix(VolumeEncryption encryption);

// "磁盘：" and a line per disk; "磁盘：无" when none answered.
std::vector<std::string> DiskLines(const std::vector<Disk>& disks);
// Where more than one ESP was found (or only on USB disks): each of them,
// and which was chosen and why; nothing otherwise.
std::vector<std::string> SystemPartitionListLines(const MachineSurvey& survey, const std::string& chosenLetter);
// The boot partition's disk and partition, and its free space against what
// the boot files need, as far as they are known.
std::vector<std::string> BootPartitionLines(const RepairPlan& plan);

} // namespace orvanta
