#include <gtest/gtest.h>


#include "discovery/DriveBus.h"
#include "platform/PlatformError.h"
#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

TEST(CtlCode, ComposesTheFourPartsLikeTheSystemMacro) {
    EXPECT_EQ(CtlCode(45, 1280, 0, 0), 0x2D1400);
    EXPECT_EQ(StorageQueryPropertyCode(), 0x2D1400);
    EXPECT_EQ(CtlCode(45, 1280, 1, 0), 0x2D1401); // method: bits 0-1, unshifted
    EXPECT_EQ(CtlCode(45, 1280, 0, 1), 0x2D5400); // access: bits 14-15
    EXPECT_EQ(CtlCode(45, 1280, 3, 3), 0x2DD403);
    EXPECT_EQ(CtlCode(0x7FFF, 0, 0, 0), 0x7FFF0000);
    EXPECT_THROW(CtlCode(0x8000, 0, 0, 0), PlatformError);
}

TEST(StorageRecords, QueryIsTwelveZeroBytesAndTheAnswerOffersFortyWithItsSize) {
    EXPECT_EQ(makeDeviceQuery(), QueryRecord{});
    AnswerRecord expected{};
    expected[4] = 40;
    EXPECT_EQ(makeEmptyAnswer(), expected);
    AnswerRecord answer{};
    answer[28] = 7;
    answer[31] = 1;
    EXPECT_EQ(busTypeOf(answer), 0x01000007U); // little-endian at offset 28
}

TEST(DriveBusTag, TheRequestCarriesTheRecordsByteForByte) {
    FakeMachine m;
    DriveBusTag(m.devices, "C:");
    EXPECT_EQ(m.devices.lastQuery, std::vector<std::uint8_t>(12, 0));
    std::vector<std::uint8_t> answer(40, 0);
    answer[4] = 40;
    EXPECT_EQ(m.devices.lastAnswerOffered, answer);
}

TEST(DriveBusTag, OnlyBusTypeSevenIsUsb) {
    for (const std::uint32_t bus : {0U, 6U, 7U, 8U, 0x107U}) {
        FakeMachine m;
        m.devices.set("C:", {.busType = bus});
        EXPECT_EQ(DriveBusTag(m.devices, "C:"), bus == 7 ? "Usb" : "") << bus;
    }
}

TEST(DriveBusTag, TheTagFollowsTheAnswerNotTheRequestsResult) {
    FakeMachine m;
    m.devices.set("C:", {.busType = 7, .writesAnswer = true, .succeeds = false});
    m.devices.set("D:", {.busType = 7, .writesAnswer = false, .succeeds = false});
    EXPECT_EQ(DriveBusTag(m.devices, "C:"), "Usb");
    EXPECT_EQ(DriveBusTag(m.devices, "D:"), "");
}

TEST(DriveBusTag, AnOpenedDeviceIsClosedExactlyOnceAndAFailedOpenNever) {
    FakeMachine m;
    m.devices.set("D:", {.opens = false});
    m.devices.set("E:", {.succeeds = false});
    EXPECT_EQ(DriveBusTag(m.devices, "D:"), "");
    DriveBusTag(m.devices, "E:");
    EXPECT_EQ(m.journal.lines(), (Lines{"open \\\\.\\D:", "open \\\\.\\E:",
                                        "control \\\\.\\E: 0x2D1400 in 12 out 40", "close \\\\.\\E:"}));
}

} // namespace
} // namespace orvanta
