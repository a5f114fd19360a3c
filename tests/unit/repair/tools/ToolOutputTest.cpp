#include <gtest/gtest.h>

#include "fakes/FakeServices.h"
#include "repair/tools/ToolOutput.h"

namespace orvanta {
namespace {

std::string Utf16Le(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// "无法映射驱动器分区。" in GBK (code page 936).
const std::string Gbk = "\xCE\xDE\xB7\xA8\xD3\xB3\xC9\xE4\xC7\xFD\xB6\xAF\xC6\xF7\xB7\xD6\xC7\xF8\xA1\xA3";
const std::string Text = "无法映射驱动器分区。";

TEST(DecodeToolOutput, UsesUtf16ThenTheConsoleCodePageThenUtf8) {
    FakeConsoleCodePage codePage;
    codePage.known[Gbk] = Text;
    // A byte-order mark, or plainly UTF-16 (ASCII with zero high halves).
    EXPECT_EQ(DecodeToolOutput("\xFF\xFE" + Utf16Le(u"无法映射驱动器分区。\r\n"), codePage), Text + "\r\n");
    EXPECT_EQ(DecodeToolOutput(Utf16Le(u"Could not map drive partition.\r\n"), codePage),
              "Could not map drive partition.\r\n");
    EXPECT_EQ(DecodeToolOutput("\xFE\xFF\x4E\x2D", codePage), "中"); // big-endian with its mark
    EXPECT_EQ(DecodeToolOutput("\xEF\xBB\xBF" + Text, codePage), Text);
    // The console's code page first; what isn't valid there is read as UTF-8.
    EXPECT_EQ(DecodeToolOutput(Gbk, codePage), Text);
    EXPECT_EQ(DecodeToolOutput(Text, codePage), Text);
    // Neither: each byte that makes no sense becomes U+FFFD, nothing is lost silently.
    EXPECT_EQ(DecodeToolOutput("ok \xFF\xC3", codePage), "ok \xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(DecodeToolOutput("", codePage), "");
}

TEST(DecodeToolOutput, UnpairedSurrogatesAndAnOddByteAreReplaced) {
    FakeConsoleCodePage codePage;
    using namespace std::string_literals;
    EXPECT_EQ(DecodeToolOutput("\xFF\xFE\x3D\xD8\x00\xDE"s, codePage), "\xF0\x9F\x98\x80"); // a pair: U+1F600
    EXPECT_EQ(DecodeToolOutput("\xFF\xFE\x3D\xD8" "A\x00"s, codePage), "\xEF\xBF\xBD" "A");
    EXPECT_EQ(DecodeToolOutput("\xFF\xFE" "A\x00" "B"s, codePage), "A\xEF\xBF\xBD");
}

TEST(DecodeToolOutput, ReplacesEachIllFormedUtf8PartAndKeepsEveryWellFormedEdge) {
    FakeConsoleCodePage codePage; // ASCII only: the rest goes to UTF-8
    using namespace std::string_literals;
    const std::string R = "\xEF\xBF\xBD"; // U+FFFD
    const std::pair<std::string, std::string> cases[] = {
        {"\xE0\x98\xA8", R + R + R},        // overlong form of U+0628
        {"\xF0\x80\x80\x80", R + R + R + R}, // overlong form of U+0000
        {"\xC0\xAF", R + R},                 // overlong "/"
        {"\xED\xA0\x80", R + R + R},        // the surrogate U+D800
        {"\xF4\x90\x80\x80", R + R + R + R}, // U+110000, beyond Unicode
        {"\xF5\x80", R + R},
        {"\xE4\xB8x", R + "x"}, // cut short: one U+FFFD for the part that fits
        {"\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
         "\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"}, // U+0800 U+D7FF U+E000 U+10000 U+10FFFF
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(DecodeToolOutput("(" + bytes + ")\r\n", codePage), "(" + text + ")\r\n") << bytes;
        EXPECT_EQ(DecodeToolOutput("\xEF\xBB\xBF" + bytes, codePage), text) << bytes; // after a byte-order mark too
    }
    // What a code page hands back is held to the same rule.
    codePage.known["\xA1"] = "\xED\xA0\x80";
    EXPECT_EQ(DecodeToolOutput("\xA1", codePage), R + R + R);
}

TEST(DecodeToolOutput, TakesOutputWithoutAMarkForUtf16OnlyWhenTheWholeOfItSaysSo) {
    FakeConsoleCodePage codePage;
    using namespace std::string_literals;
    // "中文": ideographs alone, no zero byte; as 8-bit text it is valid nowhere.
    EXPECT_EQ(DecodeToolOutput("\x2D\x4E\x87\x65", codePage), "中文");
    // "一\r\n": a zero byte at an even offset too (一 is U+4E00), all of it valid ASCII as 8-bit text.
    EXPECT_EQ(DecodeToolOutput("\x00\x4E\x0D\x00\x0A\x00"s, codePage), "一\r\n");
    // Valid in the console's code page as well, but with control bytes all over.
    const std::string success = Utf16Le(u"已成功创建启动文件。\r\n");
    codePage.known[success] = "(what the code page makes of it)";
    EXPECT_EQ(DecodeToolOutput(success, codePage), "已成功创建启动文件。\r\n");
    // 8-bit text with one stray zero byte at an odd offset stays 8-bit text,
    // whether its UTF-16 reading has units no text holds or reads as ideographs.
    for (const std::string& text : {"Bootcode was successfully updated on all targeted volumes\0\r\n"s,
                                    "updated\0volume"s}) {
        EXPECT_EQ(DecodeToolOutput(text, codePage), text);
    }
}

TEST(LastLines, KeepsTheLastLinesThatSaySomethingTrimmed) {
    EXPECT_EQ(LastLines("one\r\n  two  \r\n\r\n\tthree\r\n   \r\n", 2), (std::vector<std::string>{"two", "three"}));
    EXPECT_EQ(LastLines("only", 3), std::vector<std::string>{"only"});
    EXPECT_TRUE(LastLines(" \r\n\n", 3).empty());
    // Progress lines that a carriage return alone separates.
    EXPECT_EQ(LastLines("正在更新 10%\r正在更新 60%\r正在更新 100%\r\n已完成。\r\n", 2),
              (std::vector<std::string>{"正在更新 100%", "已完成。"}));
}

} // namespace
} // namespace orvanta
