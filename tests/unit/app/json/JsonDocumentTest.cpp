#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/json/JsonDocument.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/Journal.h"

namespace orvanta {
namespace {

// What a script's JSON reader makes of the document, read by a library of
// its own, not by ours.
nlohmann::json ReadBack(const JsonValue& document) {
    return nlohmann::json::parse(document.text());
}

TEST(JsonDocument, ReadsBackWithEveryTextEscapedAndMadeValidUtf8) {
    JsonValue document;
    document.set("schemaVersion", 1);
    document.set("log", "F:\\Kit\\Logs\\Orvanta.log");
    document.set("output", std::string("行一\r\n\t\"引号\"\x01\x1F\x7F", 19) + std::string("\0end", 4));
    document.set("brokenBytes", "ok\xC3(\xFF");
    document.set("free", std::uint64_t{9'007'199'254'740'993});
    document.set("exitCode", -1);
    document.set("empty", JsonArray{});
    document.set("none", nullptr);
    JsonValue disk;
    disk.set("number", 0).set("gpt", true);
    document.set("disks", JsonArray{disk, JsonObject{}});
    document.set("log", "replaced in place");

    const nlohmann::json read = ReadBack(document);
    EXPECT_EQ(read["schemaVersion"], 1);
    EXPECT_EQ(read["log"], "replaced in place");
    EXPECT_EQ(read["output"], std::string("行一\r\n\t\"引号\"\x01\x1F\x7F", 19) + std::string("\0end", 4));
    EXPECT_EQ(read["brokenBytes"], "ok\xEF\xBF\xBD(\xEF\xBF\xBD");
    EXPECT_EQ(read["free"].get<std::uint64_t>(), 9'007'199'254'740'993u);
    EXPECT_EQ(read["exitCode"], -1);
    EXPECT_TRUE(read["empty"].is_array() && read["empty"].empty());
    EXPECT_TRUE(read["none"].is_null());
    EXPECT_EQ(read["disks"][0]["gpt"], true);
    EXPECT_TRUE(read["disks"][1].is_object());
    // Members in the order they were first set; the text holds no raw control character.
    EXPECT_LT(document.text().find("\"schemaVersion\""), document.text().find("\"disks\""));
    const std::string text = document.text();
    EXPECT_EQ(std::count_if(text.begin(), text.end(), [](char c) { return c != '\n' && static_cast<unsigned char>(c) < 0x20; }), 0);
}

TEST(JsonDocument, IsWrittenWholeOrNotAtAll) {
    Journal journal;
    FakeFileSystem files(journal);
    files.addFolder("F:\\Out");
    files.addFile("F:\\Out\\result.json", {}, "old");
    JsonValue document;
    document.set("exitCode", 0);

    ASSERT_TRUE(CanWriteJsonFile(files, "F:\\Out\\result.json"));
    EXPECT_EQ(files.filesIn("F:\\Out"), std::vector<std::string>{"result.json"});
    ASSERT_TRUE(WriteJsonFile(files, "F:\\Out\\result.json", document));
    EXPECT_EQ(nlohmann::json::parse(files.contentOf("F:\\Out\\result.json"))["exitCode"], 0);
    EXPECT_EQ(files.filesIn("F:\\Out"), std::vector<std::string>{"result.json"});

    // A full disk: the document in place stays as it was, and no partial file is left.
    files.fillUp("F:\\Out");
    document.set("exitCode", 1);
    EXPECT_FALSE(WriteJsonFile(files, "F:\\Out\\result.json", document));
    EXPECT_EQ(nlohmann::json::parse(files.contentOf("F:\\Out\\result.json"))["exitCode"], 0);
    EXPECT_EQ(files.filesIn("F:\\Out"), std::vector<std::string>{"result.json"});

    // A folder that isn't there, or read-only media: refused before anything is written.
    EXPECT_FALSE(CanWriteJsonFile(files, "F:\\Missing\\result.json"));
    files.makeReadOnly("G:\\");
    EXPECT_FALSE(CanWriteJsonFile(files, "G:\\result.json"));
}

} // namespace
} // namespace orvanta
