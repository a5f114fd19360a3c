#include "discovery/BcdDevice.h"

#include <algorithm>

#include "discovery/LittleEndian.h"
#include "platform/TextEncodings.h"

namespace orvanta {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t OptionsSize = 16;
constexpr std::size_t DescriptorHeaderSize = 16;
constexpr std::size_t DescriptorSizeOffset = 8;
constexpr std::uint32_t PartitionDeviceType = 6;
constexpr std::uint32_t BootDeviceType = 5;
constexpr std::uint32_t BlockDeviceType = 0;
constexpr std::size_t PartitionIdOffset = 16;
constexpr std::size_t PartitionStyleOffset = 36;
constexpr std::size_t DiskIdOffset = 40;
constexpr std::size_t PartitionDescriptorSize = 72;
constexpr std::uint32_t GptStyle = 0;
constexpr std::uint32_t MbrStyle = 1;
constexpr std::size_t FileRecordOffset = 40;
constexpr std::size_t FileRecordHeaderSize = 12;

// The descriptor at the start of `bytes`, cut to the size it gives; empty
// when that size doesn't fit.
Bytes Descriptor(Bytes bytes) {
    if (bytes.size() < DescriptorHeaderSize) return {};
    const std::uint32_t size = ReadLittleEndian32(bytes, DescriptorSizeOffset);
    if (size < DescriptorHeaderSize || size > bytes.size()) return {};
    return bytes.first(size);
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

// A block device made from a file: the partition the file lies on, and its path.
BcdDevice FileDeviceOf(Bytes descriptor) {
    if (descriptor.size() < FileRecordOffset + FileRecordHeaderSize) return {};
    const Bytes rest = descriptor.subspan(FileRecordOffset);
    const std::uint32_t recordSize = ReadLittleEndian32(rest, 4);
    if (recordSize < FileRecordHeaderSize || recordSize > rest.size()) return {};
    const Bytes record = rest.first(recordSize);
    const Bytes inner = Descriptor(record.subspan(FileRecordHeaderSize));
    if (inner.empty() || ReadLittleEndian32(inner, 0) != PartitionDeviceType) return {};
    const std::optional<PartitionIdentity> partition = PartitionOf(inner);
    if (!partition) return {};
    const Bytes path = record.subspan(FileRecordHeaderSize + inner.size());
    std::string file = Utf16ToUtf8({reinterpret_cast<const char*>(path.data()), path.size()}, ByteOrder::LittleEndian);
    file = file.substr(0, file.find('\0'));
    return {BcdDeviceKind::File, partition, file};
}

} // namespace

BcdDevice ParseBcdDevice(std::span<const std::uint8_t> element) {
    if (element.size() < OptionsSize) return {};
    const Bytes descriptor = Descriptor(element.subspan(OptionsSize));
    if (descriptor.empty()) return {};
    switch (ReadLittleEndian32(descriptor, 0)) {
    case PartitionDeviceType: {
        const std::optional<PartitionIdentity> partition = PartitionOf(descriptor);
        return partition ? BcdDevice{BcdDeviceKind::Partition, partition, {}} : BcdDevice{};
    }
    case BootDeviceType: return {BcdDeviceKind::Boot, std::nullopt, {}};
    case BlockDeviceType: return FileDeviceOf(descriptor);
    default: return {};
    }
}

} // namespace orvanta
