#pragma once
// The virtual disk file (VHD or VHDX) an installation lives in: attached in a
// pre-installation environment, or the one the running Windows started from
// (native VHD boot). Its boot entries name the file by the partition it lies
// on and its path there, not by the virtual disk's own partition.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "discovery/volumes/InstallationScan.h"
#include "discovery/disks/PartitionIdentity.h"
#include "platform/disks/Devices.h"
#include "platform/disks/VirtualDisks.h"

namespace orvanta {

struct VirtualDiskFile {
    std::optional<PartitionIdentity> host = std::nullopt; // the partition the file lies on, when told
    std::string path = {}; // its path on that partition ("\VMs\win10.vhdx"); "" when it couldn't be found

    bool operator==(const VirtualDiskFile&) const = default;
};

// The STORAGE_BUS_TYPE of a disk backed by a file: a virtual disk.
inline constexpr std::uint32_t FileBackedVirtualBusType = 15;

// For each installation found ("D:\Windows") whose drive lies in a virtual
// disk, the file behind it. A drive the system can't ask (no virtdisk.dll, as
// in some WinPE) counts as in a virtual disk, its file unknown, when its bus
// says it is one; otherwise as on a disk of its own.
std::map<std::string, VirtualDiskFile> FindVirtualDiskFiles(VirtualDisks& virtualDisks, Devices& devices,
                                                            const ScanResult& scan, const std::vector<Disk>& disks);

} // namespace orvanta
