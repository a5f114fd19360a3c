#include "fakes/FirmwareBytes.h"

namespace orvanta {
namespace {

void AppendLittleEndian(ByteVector& bytes, std::uint64_t value, std::size_t width) {
    for (std::size_t index = 0; index < width; ++index) bytes.push_back(static_cast<std::uint8_t>(value >> (8U * index)));
}

ByteVector HardDriveNode(std::uint32_t partition, std::uint64_t startLba, std::uint64_t sizeLba, const Guid& signature,
                         std::uint8_t format, std::uint8_t signatureType) {
    ByteVector data;
    AppendLittleEndian(data, partition, 4);
    AppendLittleEndian(data, startLba, 8);
    AppendLittleEndian(data, sizeLba, 8);
    data.insert(data.end(), signature.begin(), signature.end());
    data.push_back(format);
    data.push_back(signatureType);
    return NodeBytes(0x04, 0x01, data);
}

// The agent named as each entry's owner: any GUID does.
constexpr Guid OwnerGuid{0xbd, 0x9a, 0xfa, 0x77, 0x59, 0x03, 0x32, 0x4d, 0xbd, 0x60, 0x28, 0xf4, 0xe7, 0x8f, 0x78, 0x4b};

} // namespace

ByteVector Joined(const std::vector<ByteVector>& parts) {
    ByteVector bytes;
    for (const ByteVector& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

ByteVector Utf16Terminated(std::u16string_view text) {
    ByteVector bytes;
    for (const char16_t unit : text) AppendLittleEndian(bytes, unit, 2);
    AppendLittleEndian(bytes, 0, 2);
    return bytes;
}

ByteVector NodeBytes(std::uint8_t type, std::uint8_t subtype, const ByteVector& data) {
    ByteVector node{type, subtype};
    AppendLittleEndian(node, data.size() + 4, 2);
    node.insert(node.end(), data.begin(), data.end());
    return node;
}

ByteVector GptHardDriveNode(std::uint32_t partition, std::uint64_t startLba, std::uint64_t sizeLba, const Guid& id) {
    return HardDriveNode(partition, startLba, sizeLba, id, 0x02, 0x02);
}

ByteVector MbrHardDriveNode(std::uint32_t partition, std::uint64_t startLba, std::uint64_t sizeLba,
                            std::uint32_t diskSignature) {
    Guid signature{};
    for (std::size_t index = 0; index < 4; ++index) signature[index] = static_cast<std::uint8_t>(diskSignature >> (8U * index));
    return HardDriveNode(partition, startLba, sizeLba, signature, 0x01, 0x01);
}

ByteVector FilePathNode(std::u16string_view path) {
    return NodeBytes(0x04, 0x04, Utf16Terminated(path));
}

ByteVector EndNode() {
    return NodeBytes(0x7F, 0xFF, {});
}

ByteVector LoadOptionBytes(std::uint32_t attributes, std::u16string_view description, const std::vector<ByteVector>& nodes,
                           const ByteVector& optionalData) {
    ByteVector path;
    for (const ByteVector& node : nodes) path.insert(path.end(), node.begin(), node.end());
    ByteVector bytes;
    AppendLittleEndian(bytes, attributes, 4);
    AppendLittleEndian(bytes, path.size(), 2);
    const ByteVector text = Utf16Terminated(description);
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.insert(bytes.end(), path.begin(), path.end());
    bytes.insert(bytes.end(), optionalData.begin(), optionalData.end());
    return bytes;
}

ByteVector VariableNameRecords(const std::vector<NamedVariable>& variables) {
    ByteVector bytes;
    for (std::size_t index = 0; index < variables.size(); ++index) {
        ByteVector record;
        const ByteVector name = Utf16Terminated(variables[index].name);
        const std::size_t size = (20 + name.size() + 3) / 4 * 4;
        AppendLittleEndian(record, index + 1 == variables.size() ? 0 : size, 4);
        record.insert(record.end(), variables[index].vendor.begin(), variables[index].vendor.end());
        record.insert(record.end(), name.begin(), name.end());
        record.resize(index + 1 == variables.size() ? record.size() : size);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

ByteVector SignatureListBytes(const Guid& type, const std::vector<ByteVector>& entries) {
    const std::size_t signatureSize = 16 + (entries.empty() ? 0 : entries.front().size());
    ByteVector bytes(type.begin(), type.end());
    AppendLittleEndian(bytes, 28 + signatureSize * entries.size(), 4);
    AppendLittleEndian(bytes, 0, 4);
    AppendLittleEndian(bytes, signatureSize, 4);
    for (const ByteVector& entry : entries) {
        bytes.insert(bytes.end(), OwnerGuid.begin(), OwnerGuid.end());
        bytes.insert(bytes.end(), entry.begin(), entry.end());
    }
    return bytes;
}

} // namespace orvanta
