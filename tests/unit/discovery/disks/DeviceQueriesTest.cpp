#include <gtest/gtest.h>


#include "discovery/disks/DeviceQueries.h"
#include "platform/errors/PlatformError.h"
#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

TEST(DeviceControlCode, ComposesTheFourPartsLikeTheSystemMacro) {
    EXPECT_EQ(DeviceControlCode(45, 1280, 0, 0), 0x2D1400);
    EXPECT_EQ(StorageQueryPropertyCode(), 0x2D1400);
    EXPECT_EQ(DeviceControlCode(45, 1280, 1, 0), 0x2D1401); // method: bits 0-1, unshifted
    EXPECT_EQ(DeviceControlCode(45, 1280, 0, 1), 0x2D5400); // access: bits 14-15
    EXPECT_EQ(DeviceControlCode(45, 1280, 3, 3), 0x2DD403);
    EXPECT_EQ(DeviceControlCode(0x7FFF, 0, 0, 0), 0x7FFF0000);
    EXPECT_THROW(DeviceControlCode(0x8000, 0, 0, 0), PlatformError);
}

TEST(StorageRecords, QueryIsTwelveZeroBytesAndTheAnswerOffersFortyWithItsSize) {
    EXPECT_EQ(MakeDeviceQuery(), QueryRecord{});
    AnswerRecord expected{};
    expected[4] = 40;
    EXPECT_EQ(MakeEmptyAnswer(), expected);
    AnswerRecord answer{};
    answer[28] = 7;
    answer[31] = 1;
    EXPECT_EQ(BusTypeOf(answer), 0x01000007U); // little-endian at offset 28
}

// A disk's STORAGE_DEVICE_DESCRIPTOR as far as it was written: the fixed
// 40-byte record, then the texts at the offsets it gives.
std::vector<std::uint8_t> Descriptor(std::uint32_t productOffset, const std::string& texts, std::size_t size = 0) {
    std::vector<std::uint8_t> bytes(40, 0);
    bytes[4] = 40;
    bytes[28] = 11; // SATA
    bytes[16] = static_cast<std::uint8_t>(productOffset);
    bytes.insert(bytes.end(), texts.begin(), texts.end());
    if (size != 0) bytes.resize(size);
    return bytes;
}

TEST(StorageDescriptor, TheModelIsTheProductIdTrimmedAndNeverReadPastTheAnswer) {
    const std::string padded = std::string("  WDC WD10EZEX-08WN4A0  ") + '\0' + "01.01A01";
    const std::string longId = "ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCDEFGHIJKL MNOPQRSTUVWXYZ"; // a blank 40th
    const struct {
        std::vector<std::uint8_t> answer;
        StorageDescriptor expected;
    } cases[] = {
        {Descriptor(40, padded), {11, "WDC WD10EZEX-08WN4A0"}},
        {Descriptor(0, padded), {11, ""}},                                  // no product id
        {Descriptor(20, padded), {11, ""}},                                 // an offset among the numbers
        {Descriptor(200, padded), {11, ""}},                                // past what was written
        {Descriptor(40, "Samsung SSD", 47), {11, "Samsung"}},               // cut short by the buffer
        {Descriptor(40, std::string("USB\x01Stick")), {11, "USB"}},         // a control byte ends it
        {Descriptor(40, "\xE4\xB8\xAD" "Disk"), {11, ""}},                  // not ASCII: no text
        {Descriptor(40, longId), {11, "ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCDEFGHIJKL"}}, // 40 at most, no blank left at the cut
        {Descriptor(40, "", 20), {0, ""}},                                  // written short: nothing
    };
    for (const auto& [answer, expected] : cases) {
        EXPECT_EQ(ParseStorageDescriptor(answer), expected) << expected.model;
    }
}

TEST(DriveBusType, TheRequestCarriesTheRecordsByteForByte) {
    FakeMachine m;
    DriveBusType(m.devices, "C:");
    EXPECT_EQ(m.devices.lastQuery, std::vector<std::uint8_t>(12, 0));
    std::vector<std::uint8_t> answer(40, 0);
    answer[4] = 40;
    EXPECT_EQ(m.devices.lastAnswerOffered, answer);
}

TEST(DriveBusType, IsReadWholeFromTheAnswer) {
    for (const std::uint32_t bus : {0U, 7U, 17U, 0x107U}) {
        FakeMachine m;
        m.devices.set("C:", {.busType = bus});
        EXPECT_EQ(DriveBusType(m.devices, "C:"), bus);
    }
}

TEST(DriveBusType, FollowsTheAnswerNotTheRequestsResult) {
    FakeMachine m;
    m.devices.set("C:", {.busType = 7, .writesAnswer = true, .succeeds = false});
    m.devices.set("D:", {.busType = 7, .writesAnswer = false, .succeeds = false});
    EXPECT_EQ(DriveBusType(m.devices, "C:"), UsbBusType);
    EXPECT_EQ(DriveBusType(m.devices, "D:"), UnknownBusType);
}

TEST(DriveBusType, AnOpenedDeviceIsClosedExactlyOnceAndAFailedOpenNever) {
    FakeMachine m;
    m.devices.set("D:", {.opens = false});
    m.devices.set("E:", {.succeeds = false});
    EXPECT_EQ(DriveBusType(m.devices, "D:"), UnknownBusType);
    DriveBusType(m.devices, "E:");
    EXPECT_EQ(m.journal.lines(), (Lines{"open \\\\.\\D:", "open \\\\.\\E:",
                                        "control \\\\.\\E: 0x2D1400 in 12 out 40", "close \\\\.\\E:"}));
}

} // namespace
} // namespace orvanta
