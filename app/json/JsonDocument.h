#pragma once
// A JSON document (RFC 8259) built in memory and written as UTF-8 text for
// scripts. Object members keep the order they were added in, so the same
// facts give the same text. Every text is escaped and made valid UTF-8 on the
// way out, whatever bytes it held.
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/files/FileSystem.h"

namespace orvanta {

class JsonValue;
using JsonArray = std::vector<JsonValue>;
using JsonObject = std::vector<std::pair<std::string, JsonValue>>;

class JsonValue {
public:
    JsonValue() = default; // null
    JsonValue(std::nullptr_t) {}
    JsonValue(bool value) : value_(value) {}
    JsonValue(int value) : value_(std::int64_t{value}) {}
    JsonValue(std::int64_t value) : value_(value) {}
    JsonValue(std::uint32_t value) : value_(std::int64_t{value}) {}
    JsonValue(std::uint64_t value) : value_(value) {}
    JsonValue(std::string value) : value_(std::move(value)) {}
    JsonValue(const char* value) : value_(std::string(value)) {}
    JsonValue(JsonArray value) : value_(std::move(value)) {}
    JsonValue(JsonObject value) : value_(std::move(value)) {}

    // An object's member, added at the end or replaced where it stands; a
    // value that is not an object becomes an empty one first.
    JsonValue& set(const std::string& key, JsonValue value);
    // An array's next element; a value that is not an array becomes an empty one first.
    JsonValue& push(JsonValue value);

    // The member of that key, or nothing: for reading back what was set.
    const JsonValue* find(const std::string& key) const;

    // The text: two spaces per level, LF line ends, no final line end.
    std::string text() const;

private:
    void write(std::string& out, int depth) const;

    std::variant<std::nullptr_t, bool, std::int64_t, std::uint64_t, std::string, JsonArray, JsonObject> value_ = nullptr;
};

// An array of `make(item)` for each of the items, in their order.
template <typename Items, typename Make>
JsonValue JsonArrayOf(const Items& items, Make make) {
    JsonArray array;
    for (const auto& item : items) array.push_back(make(item));
    return array;
}

// An array of texts.
inline JsonValue JsonTexts(const std::vector<std::string>& texts) {
    return JsonArrayOf(texts, [](const std::string& text) { return JsonValue(text); });
}

// A text, or null when it is empty.
inline JsonValue JsonTextOrNull(const std::string& text) {
    return text.empty() ? JsonValue() : JsonValue(text);
}

// A JSON string literal: quoted, with `"`, `\` and every control character
// escaped, and what is not well-formed UTF-8 replaced by U+FFFD.
std::string JsonString(const std::string& text);

// Writes the document to a temporary file beside `path` (reaching the disk)
// and renames it into place, so that a reader never sees half a document;
// false when it could not be done, the temporary file then removed.
bool WriteJsonFile(FileSystem& files, const std::string& path, const JsonValue& document);

// Whether a document could be written at `path`: its temporary file is
// created and removed again, and nothing else is touched.
bool CanWriteJsonFile(FileSystem& files, const std::string& path);

} // namespace orvanta
