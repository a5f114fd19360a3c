#include <gtest/gtest.h>

#include "discovery/firmware/FirmwareMode.h"
#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

FirmwareMode Detect(FakeMachine& m) {
    return DetectFirmwareMode(m.firmware, m.registry);
}

TEST(FirmwareMode, GetFirmwareTypeDecidesWhereTheSystemHasIt) {
    const std::pair<std::uint32_t, FirmwareMode> cases[] = {
        {1, FirmwareMode::Bios}, {2, FirmwareMode::Uefi}, {0, FirmwareMode::Unknown}, {3, FirmwareMode::Unknown}};
    for (const auto& [type, mode] : cases) {
        FakeMachine m;
        m.firmware.type = type;
        m.firmware.variableError = 998; // never asked
        EXPECT_EQ(Detect(m), mode) << type;
        EXPECT_EQ(m.journal.count("firmware variable"), 0U);
    }
}

TEST(FirmwareMode, WithoutItTheVariableProbeDecidesAndAMissingPrivilegeIsNeverUefi) {
    const std::pair<std::uint32_t, FirmwareMode> cases[] = {{1, FirmwareMode::Bios},
                                                            {1314, FirmwareMode::Unknown},
                                                            {998, FirmwareMode::Uefi},
                                                            {203, FirmwareMode::Uefi},
                                                            {0, FirmwareMode::Uefi}};
    for (const auto& [error, mode] : cases) {
        FakeMachine m;
        m.firmware.variableError = error;
        EXPECT_EQ(Detect(m), mode) << error;
    }
}

TEST(FirmwareMode, APreinstallationEnvironmentSaysHowItWasStarted) {
    FakeMachine m;
    m.firmware.type = 1; // what GetFirmwareType says doesn't count then
    m.registry.simulatePreinstallation(2);
    EXPECT_EQ(Detect(m), FirmwareMode::Uefi);
    m.registry.simulatePreinstallation(1);
    m.firmware.type = 2;
    EXPECT_EQ(Detect(m), FirmwareMode::Bios);
    // A value that names neither leaves it to the other answers; without MiniNT the value is not read.
    m.registry.simulatePreinstallation(7);
    EXPECT_EQ(Detect(m), FirmwareMode::Uefi);
    FakeMachine installed;
    installed.registry.numbers["System\\CurrentControlSet\\Control\\PEFirmwareType"] = 2;
    EXPECT_EQ(Detect(installed), FirmwareMode::Bios);
    EXPECT_EQ(installed.journal.count("registry value"), 0U);
}

} // namespace
} // namespace orvanta
