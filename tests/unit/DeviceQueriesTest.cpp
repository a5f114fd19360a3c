#include <gtest/gtest.h>


#include "discovery/DeviceQueries.h"
#include "platform/PlatformError.h"
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
