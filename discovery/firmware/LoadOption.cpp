#include "discovery/firmware/LoadOption.h"

#include <array>
#include <string_view>
#include <utility>

#include "discovery/bytes/LittleEndian.h"
#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

using Bytes = std::span<const std::uint8_t>;

// The UTF-16 text from `at` up to its zero character; the offset after that
// zero, or nothing when no zero ends it within `bytes`.
std::optional<std::pair<std::string, std::size_t>> TerminatedUtf16(Bytes bytes, std::size_t at) {
    for (std::size_t end = at; end + 1 < bytes.size(); end += 2) {
        if (bytes[end] == 0 && bytes[end + 1] == 0) {
            const std::string_view units(reinterpret_cast<const char*>(bytes.data() + at), end - at);
            return std::pair{Utf16ToUtf8(units, ByteOrder::LittleEndian), end + 2};
        }
    }
    return std::nullopt;
}

HardDriveNode HardDriveNodeAt(Bytes node) {
    HardDriveNode drive;
    drive.partitionNumber = ReadLittleEndian32(node, 4);
    drive.startLba = ReadLittleEndian(node, 8, 8);
    drive.sizeLba = ReadLittleEndian(node, 16, 8);
    drive.signature = GuidAt(node.subspan(24));
    drive.partitionFormat = node[40];
    drive.signatureType = node[41];
    return drive;
}

// The file path's text: up to its zero character, or the node's end.
std::string FilePathAt(Bytes node) {
    const Bytes text = node.subspan(NodeHeaderSize);
    if (auto terminated = TerminatedUtf16(text, 0)) return terminated->first;
    const std::string_view units(reinterpret_cast<const char*>(text.data()), text.size() & ~std::size_t{1});
    return Utf16ToUtf8(units, ByteOrder::LittleEndian);
}

// Reads the nodes of [start, end) into the option, up to the first end-of-path node.
void ReadDevicePath(Bytes bytes, std::size_t start, std::size_t end, LoadOption& option) {
    for (std::size_t at = start; at < end;) {
        const std::size_t length = end - at < NodeHeaderSize ? 0 : ReadLittleEndian16(bytes, at + 2);
        if (length < NodeHeaderSize || length > end - at) {
            option.fault = LoadOptionFault::BadNodeLength;
            return;
        }
        const Bytes data = bytes.subspan(at, length);
        DevicePathNode node;
        node.type = data[0];
        node.subtype = data[1];
        node.offset = at;
        node.length = length;
        if (node.type == MediaNodeType && node.subtype == HardDriveNodeSubtype) {
            if (length < HardDriveNodeSize) {
                option.fault = LoadOptionFault::BadNodeLength;
                return;
            }
            node.hardDrive = HardDriveNodeAt(data);
        } else if (node.type == MediaNodeType && node.subtype == FilePathNodeSubtype) {
            node.filePath = FilePathAt(data);
        }
        option.path.push_back(std::move(node));
        if (data[0] == EndNodeType && data[1] == EndEntirePathSubtype) return;
        at += length;
    }
    option.fault = LoadOptionFault::NoEndNode;
}

} // namespace

std::uint32_t HardDriveNode::mbrDiskSignature() const {
    return ReadLittleEndian32(signature, 0);
}

LoadOption ParseLoadOption(Bytes bytes) {
    LoadOption option;
    if (bytes.size() < LoadOptionHeaderSize) {
        option.fault = LoadOptionFault::Truncated;
        return option;
    }
    option.attributes = ReadLittleEndian32(bytes, 0);
    const std::size_t pathLength = ReadLittleEndian16(bytes, 4);
    const auto description = TerminatedUtf16(bytes, LoadOptionHeaderSize);
    if (!description) {
        option.fault = LoadOptionFault::UnterminatedDescription;
        return option;
    }
    option.description = description->first;
    const std::size_t pathStart = description->second;
    if (pathLength > bytes.size() - pathStart) {
        option.fault = LoadOptionFault::Truncated;
        return option;
    }
    option.optionalDataSize = bytes.size() - pathStart - pathLength;
    ReadDevicePath(bytes, pathStart, pathStart + pathLength, option);
    return option;
}

std::string DevicePathNodeName(const DevicePathNode& node) {
    struct Kind {
        std::uint8_t type, subtype;
        std::string_view name;
    };
    static constexpr std::array<std::pair<std::uint8_t, std::string_view>, 6> Types{
        {{0x01, "Hardware"}, {0x02, "ACPI"}, {0x03, "Messaging"}, {0x04, "Media"}, {0x05, "BIOS"}, {0x7F, "End"}}};
    static constexpr std::array<Kind, 18> Subtypes{{
        {0x01, 0x01, "PCI"}, {0x02, 0x01, "ACPI"}, {0x03, 0x01, "ATAPI"}, {0x03, 0x02, "SCSI"},
        {0x03, 0x05, "USB"}, {0x03, 0x0B, "MAC"}, {0x03, 0x0C, "IPv4"}, {0x03, 0x0D, "IPv6"},
        {0x03, 0x12, "SATA"}, {0x03, 0x17, "NVMe"}, {0x03, 0x18, "URI"}, {0x04, 0x01, "HardDrive"},
        {0x04, 0x02, "CDROM"}, {0x04, 0x03, "Vendor"}, {0x04, 0x04, "FilePath"}, {0x05, 0x01, "LegacyDevice"},
        {0x7F, 0x01, "Instance"}, {0x7F, 0xFF, "Path"},
    }};
    const auto hex = [](std::uint8_t value) { return "0x" + UpperHexDigits(value, 2); };
    std::string text = hex(node.type);
    for (const auto& [type, name] : Types) {
        if (type == node.type) text = name;
    }
    std::string subtype = hex(node.subtype);
    for (const Kind& kind : Subtypes) {
        if (kind.type == node.type && kind.subtype == node.subtype) subtype = kind.name;
    }
    return text + "/" + subtype;
}

} // namespace orvanta
