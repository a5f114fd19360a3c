#include "repair/uefi/BootManagerLoadOption.h"

#include "platform/text/TextEncodings.h"
#include "repair/uefi/FirmwareBootEntry.h"

namespace orvanta {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& bytes, std::uint64_t value, std::size_t width) {
    for (std::size_t index = 0; index < width; ++index) bytes.push_back(static_cast<std::uint8_t>(value >> (8U * index)));
}

void AppendUtf16Terminated(Bytes& bytes, std::string_view text) {
    const std::string units = Utf8ToUtf16LittleEndian(text);
    bytes.insert(bytes.end(), units.begin(), units.end());
    Append(bytes, 0, 2);
}

// A node: type, subtype, its whole length (two bytes), then its data.
void AppendNode(Bytes& path, std::uint8_t type, std::uint8_t subtype, const Bytes& data) {
    path.push_back(type);
    path.push_back(subtype);
    Append(path, NodeHeaderSize + data.size(), 2);
    path.insert(path.end(), data.begin(), data.end());
}

Bytes HardDriveData(const HardDriveNode& drive) {
    Bytes data;
    Append(data, drive.partitionNumber, 4);
    Append(data, drive.startLba, 8);
    Append(data, drive.sizeLba, 8);
    data.insert(data.end(), drive.signature.begin(), drive.signature.end());
    data.push_back(drive.partitionFormat);
    data.push_back(drive.signatureType);
    return data;
}

} // namespace

HardDriveNode GptPartitionNode(std::uint32_t partitionNumber, std::uint64_t startLba, std::uint64_t sizeLba,
                               const Guid& partitionId) {
    return {partitionNumber, startLba, sizeLba, partitionId, GptPartitionFormat, GuidSignatureType};
}

HardDriveNode MbrPartitionNode(std::uint32_t partitionNumber, std::uint64_t startLba, std::uint64_t sizeLba,
                               std::uint32_t diskSignature) {
    Guid signature{}; // the disk signature in the first four bytes, the rest zero
    for (std::size_t index = 0; index < 4; ++index) signature[index] = static_cast<std::uint8_t>(diskSignature >> (8U * index));
    return {partitionNumber, startLba, sizeLba, signature, MbrPartitionFormat, MbrSignatureType};
}

std::vector<std::uint8_t> EncodeLoadOption(std::uint32_t attributes, std::string_view description,
                                           const HardDriveNode& drive, std::string_view filePath) {
    Bytes path;
    AppendNode(path, MediaNodeType, HardDriveNodeSubtype, HardDriveData(drive));
    Bytes file;
    AppendUtf16Terminated(file, filePath);
    AppendNode(path, MediaNodeType, FilePathNodeSubtype, file);
    AppendNode(path, EndNodeType, EndEntirePathSubtype, {});

    Bytes option;
    Append(option, attributes, 4);
    Append(option, path.size(), 2);
    AppendUtf16Terminated(option, description);
    option.insert(option.end(), path.begin(), path.end());
    return option;
}

std::vector<std::uint8_t> WindowsBootManagerLoadOption(const HardDriveNode& drive) {
    return EncodeLoadOption(LoadOptionActive, WindowsBootManagerDescription, drive, WindowsBootManagerPath);
}

} // namespace orvanta
