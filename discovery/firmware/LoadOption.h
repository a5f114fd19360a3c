#pragma once
// A firmware boot entry (the variable Boot####): an EFI_LOAD_OPTION. Attributes
// (4 bytes), FilePathListLength (2), the description (UTF-16, ending in a
// zero), the device path (FilePathListLength bytes of nodes: type, subtype,
// a 2-byte length, data), then optional data for the started program.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "discovery/bytes/Guid.h"

namespace orvanta {

// The firmware starts only entries with this attribute.
inline constexpr std::uint32_t LoadOptionActive = 0x00000001;

inline constexpr std::size_t LoadOptionHeaderSize = 6;
inline constexpr std::size_t NodeHeaderSize = 4;

// Device-path node types and the subtypes read here.
inline constexpr std::uint8_t MediaNodeType = 0x04;
inline constexpr std::uint8_t EndNodeType = 0x7F;
inline constexpr std::uint8_t HardDriveNodeSubtype = 0x01;
inline constexpr std::uint8_t FilePathNodeSubtype = 0x04;
inline constexpr std::uint8_t EndEntirePathSubtype = 0xFF;

// HARDDRIVE_DEVICE_PATH: PartitionNumber (4), PartitionStart (8) and
// PartitionSize (8) in blocks, Signature (16), MBRType, SignatureType.
inline constexpr std::size_t HardDriveNodeSize = 42;
inline constexpr std::uint8_t MbrPartitionFormat = 0x01;
inline constexpr std::uint8_t GptPartitionFormat = 0x02;
inline constexpr std::uint8_t MbrSignatureType = 0x01;  // the disk signature, in the first 4 bytes
inline constexpr std::uint8_t GuidSignatureType = 0x02; // the GPT partition's GUID

struct HardDriveNode {
    std::uint32_t partitionNumber = 0;
    std::uint64_t startLba = 0;
    std::uint64_t sizeLba = 0;
    Guid signature{};
    std::uint8_t partitionFormat = 0;
    std::uint8_t signatureType = 0;

    std::uint32_t mbrDiskSignature() const; // the first four bytes of the signature
    bool operator==(const HardDriveNode&) const = default;
};

struct DevicePathNode {
    std::uint8_t type = 0;
    std::uint8_t subtype = 0;
    std::size_t offset = 0; // where the node lies in the load option
    std::size_t length = 0;
    std::optional<HardDriveNode> hardDrive; // type 4 subtype 1
    std::optional<std::string> filePath;    // type 4 subtype 4, up to its zero
};

// The first thing found wrong, where reading stopped.
enum class LoadOptionFault {
    None,
    Truncated,               // shorter than its header, or than its device path says
    UnterminatedDescription, // no zero character ends the description
    BadNodeLength,           // a node shorter than its header or its kind, or past the device path
    NoEndNode,               // the device path ends without an end node
};

struct LoadOption {
    std::uint32_t attributes = 0;
    std::string description;           // UTF-8
    std::vector<DevicePathNode> path;  // the first device path, its end node last; up to a fault, the nodes before it
    std::size_t optionalDataSize = 0;
    LoadOptionFault fault = LoadOptionFault::None;
};

LoadOption ParseLoadOption(std::span<const std::uint8_t> bytes);

// "Media/HardDrive", "Messaging/NVMe", "Messaging/0x1F", "0x06/0x01".
std::string DevicePathNodeName(const DevicePathNode& node);

} // namespace orvanta
