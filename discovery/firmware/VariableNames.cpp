#include "discovery/firmware/VariableNames.h"

#include "discovery/bytes/LittleEndian.h"
#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

// The UTF-16 text in [start, end) up to its zero; nothing when no zero ends it there.
std::optional<std::string> NameIn(std::span<const std::uint8_t> bytes, std::size_t start, std::size_t end) {
    for (std::size_t at = start; at + 1 < end; at += 2) {
        if (bytes[at] != 0 || bytes[at + 1] != 0) continue;
        return Utf16ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data() + start), at - start),
                           ByteOrder::LittleEndian);
    }
    return std::nullopt;
}

} // namespace

VariableNameList ParseVariableNames(std::span<const std::uint8_t> bytes) {
    VariableNameList list;
    for (std::size_t at = 0; at < bytes.size();) {
        if (bytes.size() - at < VariableNameHeaderSize) {
            list.damaged = true;
            break;
        }
        const std::size_t next = ReadLittleEndian32(bytes, at);
        // A record holds at least its header and the name's zero, and lies within the bytes.
        if (next != 0 && (next < VariableNameHeaderSize + 2 || next > bytes.size() - at)) {
            list.damaged = true;
            break;
        }
        const std::size_t end = next == 0 ? bytes.size() : at + next;
        std::optional<std::string> name = NameIn(bytes, at + VariableNameHeaderSize, end);
        if (!name) {
            list.damaged = true;
            break;
        }
        list.names.push_back({GuidAt(bytes.subspan(at + 4)), std::move(*name)});
        if (next == 0) break;
        at += next;
    }
    return list;
}

std::optional<std::uint16_t> BootEntryNumberOf(std::string_view name) {
    if (name.size() != 8 || !name.starts_with("Boot")) return std::nullopt;
    std::uint16_t number = 0;
    for (const char digit : name.substr(4)) {
        const bool decimal = digit >= '0' && digit <= '9';
        if (!decimal && (digit < 'A' || digit > 'F')) return std::nullopt;
        const int value = decimal ? digit - '0' : digit - 'A' + 10;
        number = static_cast<std::uint16_t>(number * 16 + value);
    }
    return number;
}

} // namespace orvanta
