#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>

#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Names = std::vector<std::string>;

struct Repair {
    LocalTime day;
    bool newStorePasses = true; // false: the BIOS store bcdboot writes is no hive
};

const LocalTime Today{2026, 12, 7};
const LocalTime DeadBattery{2009, 1, 1};
const LocalTime FarAhead{2099, 1, 1};

// The old stores beside C:\Boot\BCD, the time of day masked (the fake clock
// moves with every tool).
Names CopiesBeside(const FakeMachine& m) {
    Names copies;
    const std::regex time("^(bcd\\.orvanta-\\d+-\\d{8})-\\d{6}(-ok)?$", std::regex::icase);
    for (const std::string& name : m.files.filesIn("C:\\Boot")) {
        if (name.starts_with("bcd.orvanta-")) copies.push_back(std::regex_replace(name, time, "$1$2"));
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

// One Windows on C:, the kit on F:, the BIOS store as it was before the
// program first ran; each row repairs it again and again.
struct CopyRuleCase {
    const char* name;
    Names before; // copies already beside the store
    std::vector<Repair> runs;
    Names after;
    std::function<void(FakeMachine&)> fault = {};
    const char* logged = "";
};

TEST(KeptCopies, TheFirstCopyTheNewestThatPassedAndTheTwoNewestSurviveAnyClockRetriesAndFullDisks) {
    const CopyRuleCase cases[] = {
        {"a clock set back years",
         {},
         {{Today}, {DeadBattery}, {DeadBattery}, {DeadBattery}},
         {"bcd.orvanta-0001-20261207", "bcd.orvanta-0003-20090101-ok", "bcd.orvanta-0004-20090101-ok"}},
        {"a clock jumping forward",
         {},
         {{Today}, {FarAhead}, {Today}, {Today}},
         {"bcd.orvanta-0001-20261207", "bcd.orvanta-0003-20261207-ok", "bcd.orvanta-0004-20261207-ok"}},
        {"one good run, then three whose store fails its check",
         {},
         {{Today}, {Today, false}, {Today, false}, {Today, false}},
         {"bcd.orvanta-0001-20261207", "bcd.orvanta-0002-20261207-ok", "bcd.orvanta-0003-20261207",
          "bcd.orvanta-0004-20261207"}},
        {"...and a good run after them: the good copy is no longer needed",
         {},
         {{Today}, {Today, false}, {Today, false}, {Today, false}, {Today}},
         {"bcd.orvanta-0001-20261207", "bcd.orvanta-0004-20261207", "bcd.orvanta-0005-20261207"}},
        {"names of the earlier form are older than any numbered copy",
         {"bcd.orvanta-20250101-080000", "bcd.orvanta-20260101-080000", "bcd.orvanta-20991101-080000"},
         {{DeadBattery}},
         {"bcd.orvanta-0001-20090101", "bcd.orvanta-20250101-080000", "bcd.orvanta-20991101-080000"}},
        {"a folder that can't be listed: nothing removed, the old store left aside",
         {"bcd.orvanta-0001-20250101-080000", "bcd.orvanta-0002-20250102-080000", "bcd.orvanta-0003-20250103-080000"},
         {{Today}},
         {"bcd.orvanta-0001-20250101", "bcd.orvanta-0002-20250102", "bcd.orvanta-0003-20250103", "bcd.orvanta-old"},
         [](FakeMachine& m) { m.files.failListing("C:\\Boot"); },
         "BCD 存储 C:\\boot\\bcd：旧 BCD 存储无法放回原处，留在 C:\\boot\\bcd.orvanta-old"},
        {"a copy that could not be written whole is removed",
         {},
         {{Today}},
         {},
         [](FakeMachine& m) {
             m.files.addFile("C:\\Boot\\BCD", {.unmovable = true}, "original");
             m.files.fillUp("C:\\Boot");
         },
         "BCD 存储 C:\\boot\\bcd：副本 C:\\boot\\bcd.orvanta-0001-20261207-153000 没能完整写入，已删除"},
    };
    for (const CopyRuleCase& rule : cases) {
        FakeMachine m;
        m.addFixedDrive('C');
        m.drives.add('F', DriveKind::Removable);
        m.addTools();
        m.files.addFile("C:\\Boot\\BCD", {}, "original");
        for (const std::string& name : rule.before) m.files.addFile("C:\\Boot\\" + name, {}, "older");
        if (rule.fault) rule.fault(m);
        m.start();
        for (const Repair& run : rule.runs) {
            m.clock.day = run.day;
            m.processes.forgetBehaviours();
            if (!run.newStorePasses) m.processes.behave("/f bios", {.writesGarbage = true});
            m.controller.onRepairClicked();
        }
        EXPECT_EQ(CopiesBeside(m), rule.after) << rule.name;
        EXPECT_NE(m.files.contentOf(LogPathOfRepair).find(rule.logged), std::string::npos) << rule.name;
        // The first copy is the store from before the first run.
        for (const std::string& name : m.files.filesIn("C:\\Boot")) {
            if (name.starts_with("bcd.orvanta-0001-") && rule.before.empty()) {
                EXPECT_EQ(m.files.contentOf("C:\\Boot\\" + name), "original") << rule.name;
            }
        }
    }
}

} // namespace
} // namespace orvanta

namespace orvanta {
namespace {

// Windows ignores the case of names, and a folder holds more than copies.
TEST(KeptCopies, NamesAreReadIgnoringCaseAndNothingElseCountsAsACopy) {
    const std::tuple<const char*, bool, std::uint32_t, bool> names[] = {
        {"bcd.orvanta-0003-20261208-153102-ok", true, 3, true},
        {"BCD.ORVANTA-0001-20261207-153100-OK", true, 1, true},
        {"bcd.orvanta-12345-20261207-153100", true, 12345, false},
        {"bcd.orvanta-20261207-153102-2", true, 0, false}, // the earlier, dated form
        {"bcd.orvanta-0003-20261208-153102-ok.LOG1", false, 0, false},
        {"bcd.orvanta-0003-20261208-153102-okay", false, 0, false},
        {"bcd.orvanta-0003-20261208-153102-2", false, 0, false},
        {"bcd.orvanta-4294967295-20261207-153100", false, 0, false}, // no number after it
        {"bcd.orvanta-old", false, 0, false},
        {"bcd.orvanta-", false, 0, false},
    };
    for (const auto& [name, isCopy, number, passed] : names) {
        const std::optional<KeptCopy> copy = ParseKeptCopy(name, "bcd");
        ASSERT_EQ(copy.has_value(), isCopy) << name;
        if (!copy) continue;
        EXPECT_EQ(copy->number, number) << name;
        EXPECT_EQ(copy->passed, passed) << name;
    }
}

} // namespace
} // namespace orvanta
