#include "discovery/bcd/BcdDevice.h"

#include <algorithm>

#include "discovery/bytes/Guid.h"
#include "discovery/bytes/LittleEndian.h"
#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t OptionsSize = 16;
constexpr std::size_t DescriptorHeaderSize = 16;
constexpr std::size_t DescriptorSizeOffset = 8;

constexpr std::uint32_t BlockDeviceType = 0;
constexpr std::uint32_t BootDeviceType = 5;
constexpr std::uint32_t PartitionDeviceType = 6;
constexpr std::uint32_t LocateDeviceType = 8;

constexpr std::size_t PartitionIdOffset = 16;
constexpr std::size_t PartitionStyleOffset = 36;
constexpr std::size_t DiskIdOffset = 40;
constexpr std::size_t PartitionDescriptorSize = 72;
constexpr std::uint32_t GptStyle = 0;
constexpr std::uint32_t MbrStyle = 1;

constexpr std::size_t LocateElementOffset = 20;
constexpr std::size_t LocateParentOffset = 24;
constexpr std::size_t LocatePathOffset = 28;

constexpr std::size_t BlockKindOffset = 16;
constexpr std::uint32_t RamdiskKind = 3;
constexpr std::uint32_t FileKind = 5;
constexpr std::uint32_t VirtualDiskKind = 6;
constexpr std::size_t FileRecordOfFile = 20;
constexpr std::size_t FileRecordOfRamdisk = 40;
constexpr std::size_t FileOfVirtualDisk = 40;
constexpr std::size_t FileRecordHeaderSize = 12;
constexpr std::size_t FileRecordSizeOffset = 4;

// A virtual disk's file on a locate device: three levels below the element's
// descriptor; anything deeper is no device Windows writes.
constexpr int DeepestNesting = 4;

// The descriptor at the start of `bytes`, cut to the size it gives; empty
// when that size doesn't fit.
Bytes Descriptor(Bytes bytes) {
    if (bytes.size() < DescriptorHeaderSize) return {};
    const std::uint32_t size = ReadLittleEndian32(bytes, DescriptorSizeOffset);
    if (size < DescriptorHeaderSize || size > bytes.size()) return {};
    return bytes.first(size);
}

// UTF-16 up to its NUL or the end of the bytes.
std::string PathText(Bytes bytes) {
    const std::string text = Utf16ToUtf8({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, ByteOrder::LittleEndian);
    return text.substr(0, text.find('\0'));
}

std::optional<PartitionIdentity> PartitionOf(Bytes descriptor) {
    if (descriptor.size() < PartitionDescriptorSize) return std::nullopt;
    PartitionIdentity identity;
    switch (ReadLittleEndian32(descriptor, PartitionStyleOffset)) {
    case GptStyle:
        identity.style = PartitionStyle::Gpt;
        std::copy_n(descriptor.begin() + PartitionIdOffset, identity.gptId.size(), identity.gptId.begin());
        return identity;
    case MbrStyle:
        identity.style = PartitionStyle::Mbr;
        identity.mbrOffset = ReadLittleEndian(descriptor, PartitionIdOffset, 8);
        identity.mbrSignature = ReadLittleEndian32(descriptor, DiskIdOffset);
        return identity;
    default: return std::nullopt;
    }
}

BcdDevice DeviceOf(Bytes descriptor, int nesting);

// A file record at `offset` of a block device's descriptor: the device the
// file lies on (a partition, the boot device or a locate device), and its path.
BcdDevice FileDeviceOf(Bytes descriptor, std::size_t offset, BcdDeviceKind kind, int nesting) {
    if (descriptor.size() < offset + FileRecordHeaderSize) return {};
    const Bytes rest = descriptor.subspan(offset);
    const std::uint32_t recordSize = ReadLittleEndian32(rest, FileRecordSizeOffset);
    if (recordSize < FileRecordHeaderSize || recordSize > rest.size()) return {};
    const Bytes record = rest.first(recordSize);
    const Bytes inner = Descriptor(record.subspan(FileRecordHeaderSize));
    if (inner.empty()) return {};
    const BcdDevice place = DeviceOf(inner, nesting + 1);
    const bool placeFits = place.kind == BcdDeviceKind::Partition || place.kind == BcdDeviceKind::Boot ||
                           place.kind == BcdDeviceKind::Locate;
    if (!placeFits) return {};
    return {.kind = kind,
            .partition = place.partition,
            .file = PathText(record.subspan(FileRecordHeaderSize + inner.size())),
            .fileOn = place.kind};
}

BcdDevice BlockDeviceOf(Bytes descriptor, int nesting) {
    if (descriptor.size() < BlockKindOffset + 4) return {};
    switch (ReadLittleEndian32(descriptor, BlockKindOffset)) {
    case RamdiskKind: return FileDeviceOf(descriptor, FileRecordOfRamdisk, BcdDeviceKind::Ramdisk, nesting);
    case FileKind: return FileDeviceOf(descriptor, FileRecordOfFile, BcdDeviceKind::File, nesting);
    case VirtualDiskKind: {
        if (descriptor.size() < FileOfVirtualDisk) return {};
        BcdDevice file = DeviceOf(Descriptor(descriptor.subspan(FileOfVirtualDisk)), nesting + 1);
        if (file.kind != BcdDeviceKind::File) return {};
        file.kind = BcdDeviceKind::Vhd;
        return file;
    }
    default: return {};
    }
}

// A locate device alone searches for its path or its element's; with a
// parent (a virtual disk) it searches that for the element's path.
BcdDevice LocateDeviceOf(Bytes descriptor, int nesting) {
    if (descriptor.size() < LocatePathOffset) return {};
    const std::uint32_t element = ReadLittleEndian32(descriptor, LocateElementOffset);
    const std::uint32_t parentAt = ReadLittleEndian32(descriptor, LocateParentOffset);
    if (parentAt == 0) {
        return {.kind = BcdDeviceKind::Locate, .file = PathText(descriptor.subspan(LocatePathOffset)),
                .locateElement = element};
    }
    if (parentAt < LocatePathOffset || parentAt >= descriptor.size()) return {};
    BcdDevice parent = DeviceOf(Descriptor(descriptor.subspan(parentAt)), nesting + 1);
    if (parent.kind == BcdDeviceKind::Unknown || parent.locateElement != 0) return {};
    parent.locateElement = element;
    return parent;
}

BcdDevice DeviceOf(Bytes descriptor, int nesting) {
    if (descriptor.empty() || nesting > DeepestNesting) return {};
    switch (ReadLittleEndian32(descriptor, 0)) {
    case PartitionDeviceType: {
        const std::optional<PartitionIdentity> partition = PartitionOf(descriptor);
        return partition ? BcdDevice{.kind = BcdDeviceKind::Partition, .partition = partition} : BcdDevice{};
    }
    case BootDeviceType: return {.kind = BcdDeviceKind::Boot};
    case LocateDeviceType: return LocateDeviceOf(descriptor, nesting);
    case BlockDeviceType: return BlockDeviceOf(descriptor, nesting);
    default: return {};
    }
}

} // namespace

BcdDevice ParseBcdDevice(std::span<const std::uint8_t> element) {
    if (element.size() < OptionsSize) return {};
    BcdDevice device = DeviceOf(Descriptor(element.subspan(OptionsSize)), 0);
    const Guid options = GuidAt(element);
    const bool noOptions = std::all_of(options.begin(), options.end(), [](std::uint8_t byte) { return byte == 0; });
    if (device.kind != BcdDeviceKind::Unknown && !noOptions) device.options = GuidText(options);
    return device;
}

} // namespace orvanta
