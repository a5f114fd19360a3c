#pragma once
// The disk records the program reads, laid out byte for byte as the device
// stack returns them (little-endian): the partition table of a disk
// (DRIVE_LAYOUT_INFORMATION_EX), its sector size (DISK_GEOMETRY_EX) and where a
// volume lies (STORAGE_DEVICE_NUMBER).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orvanta {

// IOCTL_DISK_GET_DRIVE_LAYOUT_EX and IOCTL_STORAGE_GET_DEVICE_NUMBER.
inline constexpr std::uint32_t DriveLayoutControlCode = 0x00070050;
inline constexpr std::uint32_t DeviceNumberControlCode = 0x002D1080;

// DRIVE_LAYOUT_INFORMATION_EX: PartitionStyle (4), PartitionCount (4), the
// MBR part (Signature first) or the GPT part (DiskId first) (40), then
// PARTITION_INFORMATION_EX entries.
inline constexpr std::size_t LayoutStyleOffset = 0;
inline constexpr std::size_t LayoutCountOffset = 4;
inline constexpr std::size_t LayoutSignatureOffset = 8;
inline constexpr std::size_t LayoutDiskIdOffset = 8;
inline constexpr std::size_t LayoutEntriesOffset = 48;
// PARTITION_INFORMATION_EX: PartitionStyle (4), fill (4), StartingOffset (8),
// PartitionLength (8), PartitionNumber (4), two flags and fill (4), then the
// MBR part (PartitionType byte, BootIndicator byte...) or the GPT part
// (PartitionType GUID, PartitionId GUID...).
inline constexpr std::size_t PartitionEntrySize = 144;
inline constexpr std::size_t EntryStyleOffset = 0;
inline constexpr std::size_t EntryStartOffset = 8;
inline constexpr std::size_t EntryLengthOffset = 16;
inline constexpr std::size_t EntryNumberOffset = 24;
inline constexpr std::size_t EntryTypeOffset = 32;
inline constexpr std::size_t EntryBootIndicatorOffset = 33;
inline constexpr std::size_t EntryIdOffset = 48;

// IOCTL_DISK_GET_PARTITION_INFO_EX: one PARTITION_INFORMATION_EX, for a volume.
inline constexpr std::uint32_t PartitionInfoControlCode = 0x00070048;

// PARTITION_STYLE values.
inline constexpr std::uint32_t MbrPartitionStyle = 0;
inline constexpr std::uint32_t GptPartitionStyle = 1;
inline constexpr std::uint32_t RawPartitionStyle = 2;

// A GUID's 16 bytes as it lies in memory (Data1 to Data3 little-endian).
using GuidBytes = std::array<std::uint8_t, 16>;

enum class PartitionStyle { Mbr, Gpt, Raw };

// The EFI system partition: MBR type 0xEF; GPT type
// c12a7328-f81f-11d2-ba4b-00a0c93ec93b, as the GUID lies in memory.
inline constexpr std::uint8_t MbrSystemPartitionType = 0xEF;
inline constexpr std::array<std::uint8_t, 16> GptSystemPartitionType{
    0x28, 0x73, 0x2A, 0xC1, 0x1F, 0xF8, 0xD2, 0x11, 0xBA, 0x4B, 0x00, 0xA0, 0xC9, 0x3E, 0xC9, 0x3B};

// The first buffer offered for a layout: up to 128 partitions, the most a GPT
// disk usually has. A disk that needs more says so, and the buffer doubles up
// to the limit (over 7000 entries; an MBR disk reports four slots for each
// logical drive's record).
inline constexpr std::size_t DriveLayoutBufferSize = LayoutEntriesOffset + 128 * PartitionEntrySize;
inline constexpr std::size_t DriveLayoutBufferLimit = 1024 * 1024;

// IOCTL_DISK_GET_DRIVE_GEOMETRY_EX. DISK_GEOMETRY_EX: the DISK_GEOMETRY
// (Cylinders 8, MediaType 4, TracksPerCylinder 4, SectorsPerTrack 4,
// BytesPerSector 4), DiskSize (8), then partition and detection records the
// program doesn't read. The answer needs at least the first 32 bytes; the
// buffer offered has room for all of it.
inline constexpr std::uint32_t DriveGeometryControlCode = 0x000700A0;
inline constexpr std::size_t GeometryBytesPerSectorOffset = 20;
inline constexpr std::size_t GeometryDiskSizeOffset = 24;
inline constexpr std::size_t GeometryMinimumSize = 32;
inline constexpr std::size_t GeometryBufferSize = 256;
// Sector sizes taken as they are: 512 (and 512e) and 4096 (4Kn) disks, and any
// power of two between.
inline constexpr std::uint32_t SmallestSectorSize = 512;
inline constexpr std::uint32_t LargestSectorSize = 4096;

// STORAGE_DEVICE_NUMBER: DeviceType (4), DeviceNumber (4), PartitionNumber (4).
inline constexpr std::size_t DeviceNumberRecordSize = 12;
inline constexpr std::size_t DeviceNumberOffset = 4;
inline constexpr std::size_t PartitionNumberOffset = 8;

struct PartitionRecord {
    std::uint32_t number = 0; // PartitionNumber, from 1
    std::uint64_t offset = 0; // bytes from the start of the disk
    std::uint64_t length = 0;
    bool systemPartition = false; // an EFI system partition
    PartitionStyle style = PartitionStyle::Mbr;
    std::uint8_t mbrType = 0; // MBR: PartitionType
    bool active = false;      // MBR: BootIndicator, the partition BIOS firmware starts
    GuidBytes gptType{};      // GPT: PartitionType
    GuidBytes gptId{};        // GPT: PartitionId, the partition's own GUID

    bool operator==(const PartitionRecord&) const = default;
};

struct DiskLayout {
    PartitionStyle style = PartitionStyle::Raw;
    std::uint32_t mbrSignature = 0; // MBR: the disk signature
    GuidBytes gptDiskId{};          // GPT: the disk's GUID
    std::vector<PartitionRecord> partitions;

    bool operator==(const DiskLayout&) const = default;
};

// A layout answer: the disk's style and identity and its partitions, unused
// MBR slots left out. An answer too short for what it claims gives only the
// entries it holds; one too short for its header gives a raw disk without any.
DiskLayout ParseDriveLayout(std::span<const std::uint8_t> answer);

// One PARTITION_INFORMATION_EX (a volume's answer to the partition-information
// request); nothing when the answer is too short or of no known style.
std::optional<PartitionRecord> ParsePartitionInformation(std::span<const std::uint8_t> answer);

struct DiskGeometry {
    std::uint32_t bytesPerSector = 0;
    std::uint64_t size = 0; // bytes

    bool operator==(const DiskGeometry&) const = default;
};

// A geometry answer; nothing when it is too short or its sector size is not a
// power of two from SmallestSectorSize to LargestSectorSize.
std::optional<DiskGeometry> ParseDiskGeometry(std::span<const std::uint8_t> answer);

// Where a volume lies: its disk (\\.\PhysicalDriveN) and partition number.
struct VolumeLocation {
    std::uint32_t disk = 0;
    std::uint32_t partition = 0;

    bool operator==(const VolumeLocation&) const = default;
};

VolumeLocation ParseDeviceNumber(std::span<const std::uint8_t, DeviceNumberRecordSize> answer);

} // namespace orvanta
