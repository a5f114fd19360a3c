#include <gtest/gtest.h>

#include "fakes/FakeMachine.h"
#include "repair/ModOpenFolder.h"

namespace orvanta {
namespace {

TEST(Chooser, TheBootPartitionIsTheFirstTwoCharactersOfTheChosenPath) {
    const std::pair<std::string, std::string> cases[] = {
        {"D:\\", "D:"}, {"E:\\Tools\\Boot", "E:"}, {"\\\\server\\share", "\\\\"}, {"A", "A"}};
    for (const auto& [path, text] : cases) {
        FakeMachine m;
        m.folderDialog.choose(path);
        m.form.Command1_Click();
        EXPECT_EQ(m.journal.lines(), (std::vector<std::string>{"browse 请选择文件夹", "text Text1 " + text}));
    }
}

TEST(Chooser, CancelOrAnItemWithoutAPathKeepsTheTypedText) {
    for (const FolderChoice& choice : {FolderChoice{}, FolderChoice{true, std::string(260, '\0')}}) {
        FakeMachine m;
        m.Text1.value = "Q:";
        m.folderDialog.next = choice;
        m.form.Command1_Click();
        EXPECT_EQ(m.Text1.value, "Q:");
        EXPECT_EQ(m.journal.count("text"), 0U);
    }
}

TEST(Chooser, ThePathEndsAtTheFirstNul) {
    FakeMachine m;
    m.folderDialog.next = {true, std::string("E:\\x\0junk\0\0", 11)};
    EXPECT_EQ(BrowseFolder(m.folderDialog, "t"), "E:\\x");
    const std::string full = "F:\\" + std::string(256, 'a'); // 259 characters fill the buffer
    m.folderDialog.choose(full);
    EXPECT_EQ(BrowseFolder(m.folderDialog, "t"), full);
}

} // namespace
} // namespace orvanta
