#include <gtest/gtest.h>

#include "fakes/FakeMachine.h"
#include "repair/partition/FolderChooser.h"

namespace orvanta {
namespace {

TEST(FolderChooser, TheBootPartitionIsTheFirstTwoCharactersOfTheChosenPath) {
    const std::pair<std::string, std::string> cases[] = {
        {"D:\\", "D:"}, {"E:\\Tools\\Boot", "E:"}, {"\\\\server\\share", "\\\\"}, {"A", "A"}, {"中文\\x", "中文"}};
    for (const auto& [path, text] : cases) {
        FakeMachine m;
        m.folderDialog.choose(path);
        m.controller.onBrowseClicked();
        EXPECT_EQ(m.journal.lines(), (std::vector<std::string>{"browse 请选择引导盘：选中该分区本身或其中任意一个文件夹均可", "text bootPartitionBox " + text}));
    }
}

TEST(FolderChooser, CancelOrAnItemWithoutAPathKeepsTheTypedText) {
    for (const FolderChoice& choice : {FolderChoice{}, FolderChoice{true, std::string(260, '\0')}}) {
        FakeMachine m;
        m.bootPartitionBox.value = "Q:";
        m.folderDialog.next = choice;
        m.controller.onBrowseClicked();
        EXPECT_EQ(m.bootPartitionBox.value, "Q:");
        EXPECT_EQ(m.journal.count("text"), 0U);
    }
}

TEST(FolderChooser, ThePathEndsAtTheFirstNul) {
    FakeMachine m;
    m.folderDialog.next = {true, std::string("E:\\x\0junk\0\0", 11)};
    EXPECT_EQ(ChooseFolder(m.folderDialog, "t"), "E:\\x");
    const std::string full = "F:\\" + std::string(256, 'a'); // 259 characters fill the buffer
    m.folderDialog.choose(full);
    EXPECT_EQ(ChooseFolder(m.folderDialog, "t"), full);
}

} // namespace
} // namespace orvanta
