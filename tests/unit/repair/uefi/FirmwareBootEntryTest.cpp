#include <gtest/gtest.h>

#include "fakes/FirmwareBytes.h"
#include "repair/uefi/FirmwareBootEntry.h"

namespace orvanta {
namespace {

constexpr Guid RepairedEsp{0x3d, 0x2c, 0x1b, 0x0a, 0x5f, 0x4e, 0x71, 0x60, 0x82, 0x93, 0xa4, 0xb5, 0xc6, 0xd7, 0xe8, 0xf9};
constexpr Guid OtherEsp{0x11, 0x2c, 0x1b, 0x0a, 0x5f, 0x4e, 0x71, 0x60, 0x82, 0x93, 0xa4, 0xb5, 0xc6, 0xd7, 0xe8, 0xf9};

BootEntry Entry(std::uint16_t number, std::uint32_t attributes, std::u16string_view description,
                const std::vector<ByteVector>& nodes) {
    return {number, {ParseLoadOption(LoadOptionBytes(attributes, description, nodes)), 0}};
}

BootEntry WindowsOn(std::uint16_t number, const ByteVector& drive, std::u16string_view path = u"\\EFI\\Microsoft\\Boot\\bootmgfw.efi",
                    std::uint32_t attributes = LoadOptionActive) {
    return Entry(number, attributes, u"Windows Boot Manager", {drive, FilePathNode(path), EndNode()});
}

TEST(FirmwareBootEntry, TheEntryForTheRepairedEspAndWhatComesBeforeIt) {
    const EspIdentity esp{RepairedEsp, std::nullopt, 0};
    const std::vector<BootEntry> entries{
        Entry(0x0000, LoadOptionActive, u"UEFI: USB 闪存盘", {NodeBytes(0x03, 0x05, {0, 0}), EndNode()}),
        WindowsOn(0x0001, GptHardDriveNode(1, 2048, 204800, OtherEsp)),  // another disk's Windows
        WindowsOn(0x0002, GptHardDriveNode(1, 2048, 204800, RepairedEsp), u"\\EFI\\MICROSOFT\\BOOT\\BOOTMGFW.EFI"),
        Entry(0x0003, 0, u"Hidden", {NodeBytes(0x03, 0x17, ByteVector(12)), EndNode()}), // inactive: skipped
        WindowsOn(0x0004, GptHardDriveNode(1, 2048, 204800, RepairedEsp), u"\\EFI\\Boot\\bootx64.efi"),
    };
    EXPECT_EQ(FindWindowsBootEntry(entries, {3, 0, 2, 1}, esp),
              (BootEntryFinding{BootEntryPlace::BehindAnother, 2, 3, 0, "UEFI: USB 闪存盘"}));
    EXPECT_EQ(FindWindowsBootEntry(entries, {3, 2, 0}, esp), (BootEntryFinding{BootEntryPlace::First, 2, 2, 0, ""}));
    EXPECT_EQ(FindWindowsBootEntry(entries, {0, 1, 4}, esp), (BootEntryFinding{BootEntryPlace::NotInBootOrder, 2, 0, 0, ""}));
    EXPECT_EQ(FindWindowsBootEntry(entries, {2}, EspIdentity{OtherEsp, std::nullopt, 0}),
              (BootEntryFinding{BootEntryPlace::NotInBootOrder, 1, 0, 0, ""}));
    // Only a fallback-file entry and another disk's entry: none for the ESP.
    const std::vector<BootEntry> others{entries[0], entries[1], entries[4]};
    EXPECT_EQ(FindWindowsBootEntry(others, {4, 1, 0}, esp).place, BootEntryPlace::NoEntry);
}

// Of several entries for the ESP, an active one counts before an inactive
// one, one in BootOrder before one outside it, then the earlier in BootOrder.
TEST(FirmwareBootEntry, AnActiveEntryCountsBeforeAnInactiveOneWhereverTheyStand) {
    const EspIdentity esp{RepairedEsp, std::nullopt, 0};
    const ByteVector drive = GptHardDriveNode(1, 2048, 204800, RepairedEsp);
    const std::u16string_view path = u"\\EFI\\Microsoft\\Boot\\bootmgfw.efi";
    const std::vector<BootEntry> entries{WindowsOn(7, drive, path, 0), WindowsOn(2, drive), WindowsOn(9, drive)};
    const struct {
        std::vector<std::uint16_t> order;
        std::vector<BootEntry> entries;
        BootEntryFinding finding;
    } cases[] = {
        {{7, 2}, entries, {BootEntryPlace::First, 2, 2, 0, ""}},                // the inactive one before it is skipped
        {{9, 2}, entries, {BootEntryPlace::First, 9, 1, 0, ""}},
        {{7}, entries, {BootEntryPlace::NotInBootOrder, 2, 0, 0, ""}},          // active outside BootOrder beats inactive in it
        {{7, 1}, {entries[0]}, {BootEntryPlace::Inactive, 7, 1, 0, ""}},
        {{1}, {entries[0]}, {BootEntryPlace::Inactive, 7, 0, 0, ""}},           // inactive and outside BootOrder
        {{}, {entries[2], entries[1]}, {BootEntryPlace::NotInBootOrder, 9, 0, 0, ""}}, // no BootOrder: the first found
    };
    for (const auto& c : cases) EXPECT_EQ(FindWindowsBootEntry(c.entries, c.order, esp), c.finding) << c.order.size();
}

TEST(FirmwareBootEntry, MbrDisksEntriesThatDontReadAndTheFallbackFiles) {
    const EspIdentity esp{std::nullopt, 0xA1B2C3D4, 2048};
    EXPECT_EQ(FindWindowsBootEntry({WindowsOn(5, MbrHardDriveNode(1, 2048, 1000, 0xA1B2C3D4))}, {5}, esp).place,
              BootEntryPlace::First);
    EXPECT_EQ(FindWindowsBootEntry({WindowsOn(5, MbrHardDriveNode(1, 63, 1000, 0xA1B2C3D4))}, {5}, esp).place,
              BootEntryPlace::NoEntry); // the same disk, another partition
    // An entry that couldn't be read, or whose device path is broken, starts nothing.
    BootEntry unread = WindowsOn(6, MbrHardDriveNode(1, 2048, 1000, 0xA1B2C3D4));
    unread.option.error = PrivilegeNotHeldError;
    ByteVector broken = LoadOptionBytes(LoadOptionActive, u"W", {MbrHardDriveNode(1, 2048, 1000, 0xA1B2C3D4),
                                                                 FilePathNode(u"\\EFI\\Microsoft\\Boot\\bootmgfw.efi")});
    EXPECT_EQ(FindWindowsBootEntry({unread, {7, {ParseLoadOption(broken), 0}}}, {6, 7}, esp).place, BootEntryPlace::NoEntry);

    EXPECT_EQ(FallbackBootPath(*BootArchitectureOfMachine(0x8664)), "\\EFI\\Boot\\bootx64.efi");
    EXPECT_EQ(FallbackBootPath(*BootArchitectureOfMachine(0x014C)), "\\EFI\\Boot\\bootia32.efi");
    EXPECT_EQ(FallbackBootPath(*BootArchitectureOfMachine(0xAA64)), "\\EFI\\Boot\\bootaa64.efi");
    EXPECT_FALSE(BootArchitectureOfMachine(0x01C4).has_value()); // 32-bit ARM: no fallback name here
}

} // namespace
} // namespace orvanta
