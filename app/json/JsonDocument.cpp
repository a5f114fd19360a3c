#include "app/json/JsonDocument.h"

#include <algorithm>

#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

// The name the document has until it is complete.
std::string TemporaryPathOf(const std::string& path) {
    return path + ".orvanta-partial";
}

void Indent(std::string& out, int depth) {
    out += '\n';
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

template <typename Items, typename WriteItem>
void WriteList(std::string& out, int depth, char open, char close, const Items& items, WriteItem writeItem) {
    out += open;
    if (items.empty()) {
        out += close;
        return;
    }
    bool first = true;
    for (const auto& item : items) {
        if (!first) out += ',';
        first = false;
        Indent(out, depth + 1);
        writeItem(item);
    }
    Indent(out, depth);
    out += close;
}

} // namespace

JsonValue& JsonValue::set(const std::string& key, JsonValue value) {
    if (!std::holds_alternative<JsonObject>(value_)) value_ = JsonObject{};
    JsonObject& members = std::get<JsonObject>(value_);
    const auto same = std::find_if(members.begin(), members.end(), [&](const auto& member) { return member.first == key; });
    if (same != members.end()) {
        same->second = std::move(value);
    } else {
        members.emplace_back(key, std::move(value));
    }
    return *this;
}

JsonValue& JsonValue::push(JsonValue value) {
    if (!std::holds_alternative<JsonArray>(value_)) value_ = JsonArray{};
    std::get<JsonArray>(value_).push_back(std::move(value));
    return *this;
}

const JsonValue* JsonValue::find(const std::string& key) const {
    const JsonObject* members = std::get_if<JsonObject>(&value_);
    if (members == nullptr) return nullptr;
    for (const auto& [name, value] : *members) {
        if (name == key) return &value;
    }
    return nullptr;
}

std::string JsonValue::text() const {
    std::string out;
    write(out, 0);
    return out;
}

void JsonValue::write(std::string& out, int depth) const {
    if (std::holds_alternative<std::nullptr_t>(value_)) {
        out += "null";
    } else if (const bool* flag = std::get_if<bool>(&value_)) {
        out += *flag ? "true" : "false";
    } else if (const std::int64_t* number = std::get_if<std::int64_t>(&value_)) {
        out += std::to_string(*number);
    } else if (const std::uint64_t* count = std::get_if<std::uint64_t>(&value_)) {
        out += std::to_string(*count);
    } else if (const std::string* text = std::get_if<std::string>(&value_)) {
        out += JsonString(*text);
    } else if (const JsonArray* items = std::get_if<JsonArray>(&value_)) {
        WriteList(out, depth, '[', ']', *items, [&](const JsonValue& item) { item.write(out, depth + 1); });
    } else {
        WriteList(out, depth, '{', '}', std::get<JsonObject>(value_), [&](const auto& member) {
            out += JsonString(member.first) + ": ";
            member.second.write(out, depth + 1);
        });
    }
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char32_t code : Utf8CodePoints(text)) {
        switch (code) {
        case U'"': out += "\\\""; break;
        case U'\\': out += "\\\\"; break;
        case U'\n': out += "\\n"; break;
        case U'\r': out += "\\r"; break;
        case U'\t': out += "\\t"; break;
        default:
            // The other control characters, and DEL and the C1 controls that
            // some readers choke on, as \u escapes.
            if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
                out += "\\u" + UpperHexDigits(static_cast<std::uint32_t>(code), 4);
            } else {
                AppendUtf8(out, code);
            }
        }
    }
    return out + "\"";
}

bool WriteJsonFile(FileSystem& files, const std::string& path, const JsonValue& document) {
    const std::string temporary = TemporaryPathOf(path);
    bool written = false;
    {
        const std::unique_ptr<AppendFile> file = files.createAppendFile(temporary, true);
        written = file && file->append(document.text() + "\n", true);
    } // closed before the rename
    if (written && files.replaceFile(temporary, path)) return true;
    files.removeFile(temporary);
    return false;
}

bool CanWriteJsonFile(FileSystem& files, const std::string& path) {
    const std::string temporary = TemporaryPathOf(path);
    const bool created = files.createAppendFile(temporary, true) != nullptr;
    if (created) files.removeFile(temporary);
    return created;
}

} // namespace orvanta
