#include <gtest/gtest.h>

#include "discovery/firmware/LoadOption.h"
#include "fakes/FirmwareBytes.h"

namespace orvanta {
namespace {

// The ESP's partition GUID {0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9} as it lies in memory.
constexpr Guid EspGuid{0x3d, 0x2c, 0x1b, 0x0a, 0x5f, 0x4e, 0x71, 0x60, 0x82, 0x93, 0xa4, 0xb5, 0xc6, 0xd7, 0xe8, 0xf9};

std::vector<std::string> NodeNames(const LoadOption& option) {
    std::vector<std::string> names;
    for (const DevicePathNode& node : option.path) names.push_back(DevicePathNodeName(node));
    return names;
}

TEST(LoadOption, AWindowsEntryGivesItsPartitionFilePathAndDescription) {
    const ByteVector optionalData{'W', 0, 'I', 0, 'N', 0, 0, 0};
    const ByteVector bytes = LoadOptionBytes(
        LoadOptionActive, u"Windows 启动管理器",
        {GptHardDriveNode(1, 2048, 204800, EspGuid), FilePathNode(u"\\EFI\\Microsoft\\Boot\\bootmgfw.efi"), EndNode()},
        optionalData);
    const LoadOption option = ParseLoadOption(bytes);
    EXPECT_EQ(option.fault, LoadOptionFault::None);
    EXPECT_EQ(option.attributes, LoadOptionActive);
    EXPECT_EQ(option.description, "Windows 启动管理器");
    EXPECT_EQ(NodeNames(option), (std::vector<std::string>{"Media/HardDrive", "Media/FilePath", "End/Path"}));
    ASSERT_TRUE(option.path[0].hardDrive.has_value());
    EXPECT_EQ(*option.path[0].hardDrive, (HardDriveNode{1, 2048, 204800, EspGuid, GptPartitionFormat, GuidSignatureType}));
    EXPECT_EQ(GuidText(option.path[0].hardDrive->signature), "{0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9}");
    EXPECT_EQ(option.path[1].filePath, "\\EFI\\Microsoft\\Boot\\bootmgfw.efi");
    EXPECT_EQ(option.optionalDataSize, optionalData.size());
    // The last node ends where the optional data begins.
    EXPECT_EQ(option.path[2].offset + option.path[2].length, bytes.size() - optionalData.size());
}

TEST(LoadOption, AnMbrPartitionAndNodesOfOtherKindsAreNamedByTypeAndSubtype) {
    const LoadOption option = ParseLoadOption(LoadOptionBytes(
        0, u"Disk",
        {NodeBytes(0x02, 0x01, ByteVector(8)), NodeBytes(0x01, 0x01, {0, 0x1D}), NodeBytes(0x03, 0x17, ByteVector(12)),
         NodeBytes(0x03, 0x1F, {}), NodeBytes(0x06, 0x02, {1, 2, 3}),
         MbrHardDriveNode(2, 63, 1000, 0x1234ABCD), EndNode()}));
    EXPECT_EQ(option.fault, LoadOptionFault::None);
    EXPECT_EQ(NodeNames(option), (std::vector<std::string>{"ACPI/ACPI", "Hardware/PCI", "Messaging/NVMe", "Messaging/0x1F",
                                                           "0x06/0x02", "Media/HardDrive", "End/Path"}));
    const HardDriveNode& drive = *option.path[5].hardDrive;
    EXPECT_EQ(drive.partitionFormat, MbrPartitionFormat);
    EXPECT_EQ(drive.signatureType, MbrSignatureType);
    EXPECT_EQ(drive.mbrDiskSignature(), 0x1234ABCDU);
    EXPECT_EQ(drive.startLba, 63U);
    EXPECT_FALSE(option.path[0].filePath.has_value());
}

TEST(LoadOption, LengthsThatLieStopTheReadingWithWhatCameBefore) {
    const ByteVector file = FilePathNode(u"\\a.efi");
    const auto parse = [](const ByteVector& bytes) { return ParseLoadOption(bytes); };
    EXPECT_EQ(parse({1, 0, 0, 0, 0}).fault, LoadOptionFault::Truncated);
    EXPECT_EQ(parse({1, 0, 0, 0, 0, 0, 'A', 0, 'B'}).fault, LoadOptionFault::UnterminatedDescription);

    ByteVector longPath = LoadOptionBytes(1, u"X", {file, EndNode()});
    longPath[4] = static_cast<std::uint8_t>(longPath[4] + 1); // the path claims a byte more than there is
    EXPECT_EQ(parse(longPath).fault, LoadOptionFault::Truncated);

    ByteVector shortNode = EndNode();
    shortNode[2] = 3; // shorter than a node's header
    LoadOption option = parse(LoadOptionBytes(1, u"X", {file, shortNode}));
    EXPECT_EQ(option.fault, LoadOptionFault::BadNodeLength);
    EXPECT_EQ(NodeNames(option), std::vector<std::string>{"Media/FilePath"});

    ByteVector pastPath = file;
    pastPath[2] = static_cast<std::uint8_t>(pastPath[2] + 5); // over the end node and a byte past the path
    EXPECT_EQ(parse(LoadOptionBytes(1, u"X", {pastPath, EndNode()})).fault, LoadOptionFault::BadNodeLength);
    EXPECT_EQ(parse(LoadOptionBytes(1, u"X", {NodeBytes(0x04, 0x01, ByteVector(30)), EndNode()})).fault,
              LoadOptionFault::BadNodeLength); // too short for a hard-drive node
    EXPECT_EQ(parse(LoadOptionBytes(1, u"X", {file})).fault, LoadOptionFault::NoEndNode);

    // Every cut of a good entry is told as faulty, never read past.
    const ByteVector good = LoadOptionBytes(1, u"Boot", {GptHardDriveNode(1, 1, 1, EspGuid), file, EndNode()});
    for (std::size_t size = 0; size < good.size(); ++size) {
        const ByteVector cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        const LoadOption read = parse(cut);
        EXPECT_NE(read.fault, LoadOptionFault::None) << size;
        for (const DevicePathNode& node : read.path) EXPECT_LE(node.offset + node.length, size);
    }
}

} // namespace
} // namespace orvanta
