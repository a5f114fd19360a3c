#pragma once
// The running system's own boot store: the file the registry loaded as
// BCD00000000. The system holds it open, so it can't be moved aside; its
// content is saved through the registry instead. Any other store held open
// belongs to some program, and is not the system's.
#include <optional>
#include <string>

#include "platform/disks/Drives.h"
#include "platform/system/Registry.h"

namespace orvanta {

inline constexpr const char* SystemStoreKey = "BCD00000000";
// Where the registry names the file of each loaded hive, by the hive's name.
inline constexpr const char* HiveListKey = "SYSTEM\\CurrentControlSet\\Control\\hivelist";
inline constexpr const char* SystemStoreHiveName = "\\REGISTRY\\MACHINE\\BCD00000000";

// The file the system loaded its store from, as a device path such as
// "\Device\HarddiskVolume1\EFI\Microsoft\Boot\BCD"; nothing when the registry
// names none (under Wine, in WinPE).
std::optional<std::string> SystemStoreFile(Registry& registry);

// Whether a store's path ("Z:\EFI\Microsoft\Boot\bcd") is that file: its
// drive stands for the file's device, directly or through a link (a letter
// given to the ESP for this session names a partition that links to the
// volume), and the rest of the path is the same, ignoring case.
bool IsSystemStore(const std::string& storePath, const std::optional<std::string>& systemStoreFile, Drives& drives);

} // namespace orvanta
