#include <gtest/gtest.h>

#include "discovery/bytes/LittleEndian.h"
#include "platform/text/TextEncodings.h"
#include "repair/uefi/BootManagerLoadOption.h"
#include "repair/uefi/FirmwareBootEntry.h"

namespace orvanta {
namespace {

// {0a1b2c3d-4e5f-6071-8293-a4b5c6d7e8f9} as it lies in memory.
constexpr Guid EspGuid{0x3d, 0x2c, 0x1b, 0x0a, 0x5f, 0x4e, 0x71, 0x60, 0x82, 0x93, 0xa4, 0xb5, 0xc6, 0xd7, 0xe8, 0xf9};

std::string Utf16At(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length) {
    return Utf16ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data() + at), length), ByteOrder::LittleEndian);
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + length)};
}

// Each field at the offset the UEFI layouts give it: EFI_LOAD_OPTION's header
// and description (6 + 42 bytes), the Hard Drive Media node (42 bytes), the
// File Path node (4 + 66 bytes of "\EFI\Microsoft\Boot\bootmgfw.efi" and its
// zero) and the End node, with no optional data after it.
TEST(BootManagerLoadOption, EveryFieldLiesWhereTheUefiLayoutsPutIt) {
    struct Case {
        const char* name;
        HardDriveNode drive;
        std::vector<std::uint8_t> signature; // the node's 16 signature bytes
        std::uint8_t format, signatureType;
    };
    const std::vector<Case> cases{
        {"GPT", GptPartitionNode(1, 2048, 204800, EspGuid), {EspGuid.begin(), EspGuid.end()}, 2, 2},
        {"MBR", MbrPartitionNode(3, 0x1'0000'0800, 1000, 0xA1B2C3D4),
         {0xD4, 0xC3, 0xB2, 0xA1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> bytes = WindowsBootManagerLoadOption(c.drive);
        ASSERT_EQ(bytes.size(), 164U);
        EXPECT_EQ(ReadLittleEndian32(bytes, 0), 1U);                 // Attributes: LOAD_OPTION_ACTIVE only
        EXPECT_EQ(ReadLittleEndian16(bytes, 4), 42U + 70U + 4U);     // FilePathListLength
        EXPECT_EQ(Utf16At(bytes, 6, 40), "Windows Boot Manager");
        EXPECT_EQ(ReadLittleEndian16(bytes, 46), 0U);                // the description's zero
        EXPECT_EQ(Slice(bytes, 48, 4), (std::vector<std::uint8_t>{4, 1, 42, 0}));
        EXPECT_EQ(ReadLittleEndian32(bytes, 52), c.drive.partitionNumber);
        EXPECT_EQ(ReadLittleEndian(bytes, 56, 8), c.drive.startLba);
        EXPECT_EQ(ReadLittleEndian(bytes, 64, 8), c.drive.sizeLba);
        EXPECT_EQ(Slice(bytes, 72, 16), c.signature);
        EXPECT_EQ(bytes[88], c.format);
        EXPECT_EQ(bytes[89], c.signatureType);
        EXPECT_EQ(Slice(bytes, 90, 4), (std::vector<std::uint8_t>{4, 4, 70, 0}));
        EXPECT_EQ(Utf16At(bytes, 94, 64), "\\EFI\\Microsoft\\Boot\\bootmgfw.efi");
        EXPECT_EQ(ReadLittleEndian16(bytes, 158), 0U);
        EXPECT_EQ(Slice(bytes, 160, 4), (std::vector<std::uint8_t>{0x7F, 0xFF, 4, 0}));

        // The parser reads back what was written, and the entry is found as
        // the one that starts the partition's boot manager.
        const LoadOption read = ParseLoadOption(bytes);
        EXPECT_EQ(read.fault, LoadOptionFault::None);
        EXPECT_EQ(read.optionalDataSize, 0U);
        ASSERT_EQ(read.path.size(), 3U);
        EXPECT_EQ(read.path[0].hardDrive, c.drive);
        const EspIdentity esp = c.drive.signatureType == GuidSignatureType
                                    ? EspIdentity{EspGuid, std::nullopt, 0}
                                    : EspIdentity{std::nullopt, 0xA1B2C3D4, c.drive.startLba};
        EXPECT_EQ(FindWindowsBootEntry({{7, {read, 0}}}, {7}, esp).place, BootEntryPlace::First);
    }
}

TEST(BootManagerLoadOption, TextsBeyondAsciiAreUtf16WithSurrogatePairs) {
    const std::vector<std::uint8_t> bytes =
        EncodeLoadOption(0, "启动 𝟘", GptPartitionNode(1, 1, 1, EspGuid), "\\a.efi");
    EXPECT_EQ(Slice(bytes, 6, 10), (std::vector<std::uint8_t>{0x2F, 0x54, 0xA8, 0x52, 0x20, 0, 0x35, 0xD8, 0xD8, 0xDF}));
    const LoadOption read = ParseLoadOption(bytes);
    EXPECT_EQ(read.description, "启动 𝟘");
    EXPECT_EQ(read.attributes, 0U);
    EXPECT_EQ(read.path.at(1).filePath, "\\a.efi");
}

} // namespace
} // namespace orvanta
