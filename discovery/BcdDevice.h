#pragma once
// The device of a boot entry (where its program or system lies), read from a
// BCD device element's bytes. Microsoft documents the element types but not
// this layout; what follows is read off stores that Windows wrote (the UEFI
// store in the tests' fixtures and an MBR sample of a published analysis):
//
//   element:     +0  GUID of a device options object ({0} for none), 16 bytes
//                +16 a device descriptor
//   descriptor:  +0  device type (6 a partition, 5 the boot device, 0 a block
//                    device such as a ramdisk), +4 flags, +8 the descriptor's
//                    whole size, +12 reserved, +16 what the type holds
//   partition:   +16 the partition: its GPT GUID, or (MBR) its byte offset, 8 bytes
//                +36 the partition style (0 GPT, 1 MBR)
//                +40 the disk: its GPT GUID, or (MBR) its 4-byte signature
//   block device:+16 the kind (3 a ramdisk, as Windows RE's boot image; VHD
//                    and file devices take other kinds)
//                +40 the file it is made from: +0 a count, +4 the record's
//                    size from its start, +8 a kind, +12 the descriptor of
//                    the device the file lies on, then the path (UTF-16, NUL)
//
// A device whose bytes don't fit this is of unknown kind, never a fault.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "discovery/PartitionIdentity.h"

namespace orvanta {

enum class BcdDeviceKind {
    Partition, // a partition, named by its identity
    Boot,      // the partition the boot manager was started from
    File,      // a ramdisk, VHD or file made from a file on a partition
    Unknown,
};

struct BcdDevice {
    BcdDeviceKind kind = BcdDeviceKind::Unknown;
    // The partition it names or lies on; nothing for the boot device and
    // devices of unknown kind.
    std::optional<PartitionIdentity> partition;
    std::string file; // a File device: the file's path on that partition

    bool operator==(const BcdDevice&) const = default;
};

BcdDevice ParseBcdDevice(std::span<const std::uint8_t> element);

} // namespace orvanta
