#include <gtest/gtest.h>

#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

// The window has a 435-twip frame and a layout width of 6000: compact is
// 5910 x 2685, expanded 5910 x 5055.
struct SizeToggleTest : ::testing::Test {
    SizeToggleTest() {
        m.addFixedDrive('C');
        m.start();
        m.journal.clear();
    }
    int last() const { return static_cast<int>(m.controller.sizeToggle().lastState()); }
    FakeMachine m;
};

TEST_F(SizeToggleTest, MaximizeTogglesExpandedThenCompactThroughNestedEvents) {
    m.window.userState(WindowState::Maximized);
    // Each operation raises a nested event in the normal state; the outer
    // handler's final value decides.
    EXPECT_EQ(m.journal.lines(), (Lines{"user state 2", "resize", "state 0", "resize", "width 5910", "resize",
                                        "height 5055", "resize"}));
    EXPECT_EQ(m.window.state(), WindowState::Normal);
    EXPECT_EQ(m.window.clientHeight(), 4620.0F);
    EXPECT_EQ(last(), 2);

    m.journal.clear();
    m.window.userState(WindowState::Maximized);
    EXPECT_EQ(m.journal.lines(),
              (Lines{"user state 2", "resize", "state 0", "resize", "width 5910", "height 2685", "resize"}));
    EXPECT_EQ(m.window.width, 5910);
    EXPECT_EQ(m.window.clientHeight(), 2250.0F);
    EXPECT_EQ(last(), 0);
}

TEST_F(SizeToggleTest, AfterMinimiseAndRestoreTheNextMaximizeOnlyUndoesTheMaximise) {
    m.window.userState(WindowState::Maximized);
    m.window.userState(WindowState::Minimized);
    EXPECT_EQ(last(), 1);
    m.window.userState(WindowState::Normal);
    EXPECT_EQ(last(), 0);
    EXPECT_EQ(m.window.clientHeight(), 4620.0F);

    m.window.userState(WindowState::Maximized);
    EXPECT_EQ(m.window.state(), WindowState::Normal);
    EXPECT_EQ(m.window.clientHeight(), 4620.0F);
    EXPECT_EQ(last(), 2);
    m.window.userState(WindowState::Maximized);
    EXPECT_EQ(m.window.clientHeight(), 2250.0F);
    EXPECT_EQ(last(), 0);
}

TEST_F(SizeToggleTest, MaximisedStraightFromMinimisedStaysMaximised) {
    m.window.userState(WindowState::Minimized);
    m.journal.clear();
    m.window.userState(WindowState::Maximized);
    EXPECT_EQ(m.journal.lines(), (Lines{"user state 2", "resize"}));
    EXPECT_EQ(m.window.state(), WindowState::Maximized);
    EXPECT_EQ(m.window.outerHeight(), m.window.screenHeight);
    EXPECT_EQ(last(), 1);

    m.window.userState(WindowState::Normal);
    EXPECT_EQ(m.window.height, 2685);
    EXPECT_EQ(last(), 0);
    m.window.userState(WindowState::Maximized); // the toggle works again
    EXPECT_EQ(m.window.clientHeight(), 4620.0F);
}

} // namespace
} // namespace orvanta
