#include <gtest/gtest.h>

#include "fakes/FakeServices.h"
#include "repair/ToolOutput.h"

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

TEST(LastLines, KeepsTheLastLinesThatSaySomethingTrimmed) {
    EXPECT_EQ(LastLines("one\r\n  two  \r\n\r\n\tthree\r\n   \r\n", 2), (std::vector<std::string>{"two", "three"}));
    EXPECT_EQ(LastLines("only", 3), std::vector<std::string>{"only"});
    EXPECT_TRUE(LastLines(" \r\n\n", 3).empty());
}

} // namespace
} // namespace orvanta
