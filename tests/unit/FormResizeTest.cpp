#include <gtest/gtest.h>

#include "fakes/FakeMachine.h"

namespace orvanta {
namespace {

using Lines = std::vector<std::string>;

// The window has a 435-twip frame and a layout width of 6000: compact is
// 5910 x 2685, expanded 5910 x 5055.
struct Resize : ::testing::Test {
    Resize() {
        m.addFixedDrive('C');
        m.start();
        m.journal.clear();
    }
    std::int16_t last() const { return m.form.fields().LastWindowState; }
    FakeMachine m;
};

TEST_F(Resize, MaximizeTogglesExpandedThenCompactThroughNestedEvents) {
    m.window.userState(StateMaximized);
    // Each operation raises a nested event in the normal state; the outer
    // handler's final value decides.
    EXPECT_EQ(m.journal.lines(), (Lines{"user state 2", "resize", "state 0", "resize", "width 5910", "resize",
                                        "height 5055", "resize"}));
    EXPECT_EQ(m.window.state(), StateNormal);
    EXPECT_EQ(m.window.clientHeight(), 4620.0F);
    EXPECT_EQ(last(), 2);

    m.journal.clear();
    m.window.userState(StateMaximized);
    EXPECT_EQ(m.journal.lines(),
              (Lines{"user state 2", "resize", "state 0", "resize", "width 5910", "height 2685", "resize"}));
    EXPECT_EQ(m.window.width, 5910);
    EXPECT_EQ(m.window.clientHeight(), 2250.0F);
    EXPECT_EQ(last(), 0);
}

TEST_F(Resize, AfterMinimiseAndRestoreTheNextMaximizeOnlyUndoesTheMaximise) {
    m.window.userState(StateMaximized);
    m.window.userState(StateMinimized);
    EXPECT_EQ(last(), 1);
    m.window.userState(StateNormal);
    EXPECT_EQ(last(), 0);
    EXPECT_EQ(m.window.clientHeight(), 4620.0F);

    m.window.userState(StateMaximized);
    EXPECT_EQ(m.window.state(), StateNormal);
    EXPECT_EQ(m.window.clientHeight(), 4620.0F);
    EXPECT_EQ(last(), 2);
    m.window.userState(StateMaximized);
    EXPECT_EQ(m.window.clientHeight(), 2250.0F);
    EXPECT_EQ(last(), 0);
}

TEST_F(Resize, MaximisedStraightFromMinimisedStaysMaximised) {
    m.window.userState(StateMinimized);
    m.journal.clear();
    m.window.userState(StateMaximized);
    EXPECT_EQ(m.journal.lines(), (Lines{"user state 2", "resize"}));
    EXPECT_EQ(m.window.state(), StateMaximized);
    EXPECT_EQ(m.window.outerHeight(), m.window.screenHeight);
    EXPECT_EQ(last(), 1);

    m.window.userState(StateNormal);
    EXPECT_EQ(m.window.height, 2685);
    EXPECT_EQ(last(), 0);
    m.window.userState(StateMaximized); // the toggle works again
    EXPECT_EQ(m.window.clientHeight(), 4620.0F);
}

} // namespace
} // namespace orvanta
