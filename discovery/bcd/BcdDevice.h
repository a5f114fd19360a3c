#pragma once
// The device of a boot entry (where its program or system lies), read from a
// BCD device element's bytes. Microsoft documents what a device holds (the
// BCD WMI classes BcdDeviceData, BcdDeviceFileData, BcdDeviceLocateData and
// their kin) but not these bytes; the layout below is read off stores that
// Windows wrote (the UEFI store in the tests' fixtures, with its Windows RE
// ramdisk) and, for locate devices and virtual disks, off published analyses
// of stores with native VHD boot entries:
//
//   element:     +0  GUID of a device options object ({0} for none), 16 bytes
//                +16 a device descriptor
//   descriptor:  +0  device type (6 a partition, 5 the boot device, 8 a locate
//                    device, 0 a block device), +4 flags, +8 the descriptor's
//                    whole size, +12 reserved, +16 what the type holds
//   partition:   +16 the partition: its GPT GUID, or (MBR) its byte offset, 8 bytes
//                +36 the partition style (0 GPT, 1 MBR)
//                +40 the disk: its GPT GUID, or (MBR) its 4-byte signature
//   locate:      +16 the locate kind, +20 the element whose path is searched
//                for (0 for none), +24 where its parent descriptor starts,
//                counted from this descriptor's start (0 for none), +28 the
//                path searched for (UTF-16, NUL)
//   block device:+16 the kind: 3 a ramdisk, 5 a file, 6 a virtual disk
//                ramdisk: +20 where it is loaded (20 bytes), +40 a file record
//                file: +20 a file record
//                virtual disk: +20 reserved (20 bytes), +40 the descriptor of
//                the file it is made from (a block device of kind file)
//   file record: +0 a version, +4 the record's size from its start, +8 a
//                kind, +12 the descriptor of the device the file lies on
//                (partition, boot or locate), then the path (UTF-16, NUL)
//
// A native VHD boot entry's device is a locate device that searches the
// virtual disk for the element's path; its parent is the virtual disk.
// Descriptors nest at most a few levels deep. A device whose bytes don't fit
// this is of unknown kind, never a fault.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "discovery/disks/PartitionIdentity.h"

namespace orvanta {

enum class BcdDeviceKind {
    Partition, // a partition, named by its identity
    Boot,      // the partition the boot manager was started from
    Ramdisk,   // a ramdisk made from a file, as Windows RE and WinPE start
    File,      // a file used as a device
    Vhd,       // a virtual disk file (VHD or VHDX): native VHD boot
    Locate,    // whichever partition holds a file, searched for at start
    Unknown,
};

struct BcdDevice {
    BcdDeviceKind kind = BcdDeviceKind::Unknown;
    // A partition: its identity. A ramdisk, file or virtual disk: the
    // partition its file lies on, when `fileOn` says it is one.
    std::optional<PartitionIdentity> partition = std::nullopt;
    // A ramdisk, file or virtual disk: its file's path on the device it lies
    // on. A locate device: the path searched for, "" when it searches for an
    // element's.
    std::string file = {};
    // A ramdisk, file or virtual disk: where its file lies (a partition, the
    // boot device, or found by searching); Unknown for the other kinds.
    BcdDeviceKind fileOn = BcdDeviceKind::Unknown;
    std::string options = {};        // the device options object, "{…}" in lower case; "" for none
    std::uint32_t locateElement = 0; // the element whose path locates the device (0x12000002 the program's); 0 for none

    bool operator==(const BcdDevice&) const = default;
};

BcdDevice ParseBcdDevice(std::span<const std::uint8_t> element);

} // namespace orvanta
