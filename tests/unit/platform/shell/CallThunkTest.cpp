#include <gtest/gtest.h>

#include "platform/shell/CallThunk.h"
#include "platform/shell/TaskbarProgress.h"

namespace orvanta {
namespace {

TEST(CallThunk, ProgressCallAtStartOfRepairIsTheWorkedExample) {
    const std::uint32_t object = 0x00A1B2C3;
    const std::int32_t window = 0x00030456;
    const auto code = BuildCallThunk(object, SetProgressStateSlot, {window, 1});
    const std::vector<std::uint8_t> expected{
        0x68, 0x01, 0x00, 0x00, 0x00,             // push 1 (a(1))
        0x68, 0x56, 0x04, 0x03, 0x00,             // push window (a(0))
        0x68, 0xC3, 0xB2, 0xA1, 0x00,             // push object
        0xA1, 0xC3, 0xB2, 0xA1, 0x00,             // mov eax, [object]
        0xFF, 0x90, 0x28, 0x00, 0x00, 0x00,       // call [eax + 40]
        0xC3, 0x90,                               // ret, nop
    };
    EXPECT_EQ(code, expected);
    EXPECT_EQ(code.size(), 28U);
}

TEST(CallThunk, NoArgumentsGiveEighteenBytes) {
    const auto code = BuildCallThunk(0x12345678, HrInitSlot, {});
    const std::vector<std::uint8_t> expected{
        0x68, 0x78, 0x56, 0x34, 0x12, 0xA1, 0x78, 0x56, 0x34, 0x12,
        0xFF, 0x90, 0x0C, 0x00, 0x00, 0x00, 0xC3, 0x90,
    };
    EXPECT_EQ(code, expected);
}

TEST(CallThunk, SizeGrowsByFiveBytesPerArgumentAndNegativesAreTwosComplement) {
    for (std::size_t count = 0; count < 6; ++count) {
        const std::vector<std::int32_t> arguments(count, -2);
        const auto code = BuildCallThunk(1, 1, arguments);
        ASSERT_EQ(code.size(), 5 * count + 18);
        for (std::size_t index = 0; index < count; ++index) {
            EXPECT_EQ(code[5 * index], 0x68);
            EXPECT_EQ(code[5 * index + 1], 0xFE);
            EXPECT_EQ(code[5 * index + 4], 0xFF);
        }
    }
}

} // namespace
} // namespace orvanta
