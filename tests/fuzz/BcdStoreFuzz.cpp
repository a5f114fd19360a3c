// A BCD store file as a disk might hold it, damaged or hostile: every text
// read is valid UTF-8, every identifier and reference is a GUID in the form
// stores write, and a file cut short never yields more objects than the whole.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "discovery/BcdStore.h"
#include "discovery/GuidText.h"

namespace {

// Checked here byte by byte, without the decoders the reader uses.
bool IsUtf8(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || at + length > text.size()) return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t next = 1; next < length; ++next) {
            const auto byte = static_cast<unsigned char>(text[at + next]);
            if ((byte & 0xC0) != 0x80) return false;
            code = code << 6 | (byte & 0x3F);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return false;
        at += length;
    }
    return true;
}

bool IsReference(const std::string& identifier) {
    const auto guid = orvanta::ParseGuidText(identifier);
    return guid && orvanta::GuidText(*guid) == identifier;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    const std::span<const std::uint8_t> bytes(data, size);
    const BcdStoreReading whole = ReadBcdStore(bytes);
    if (whole.store.has_value() != (whole.fault == StoreFault::None)) __builtin_trap();
    if (!whole.store) return 0;
    for (const BcdObject& object : whole.store->objects) {
        for (const std::string* text : {&object.description, &object.path, &object.systemRoot}) {
            if (!IsUtf8(*text)) __builtin_trap();
        }
        if (object.device && !IsUtf8(object.device->file)) __builtin_trap();
        if (!IsReference(object.identifier)) __builtin_trap();
        if (!object.defaultEntry.empty() && !IsReference(object.defaultEntry)) __builtin_trap();
        for (const auto* list : {&object.displayOrder, &object.recoverySequence}) {
            for (const std::string& entry : *list) {
                if (!IsReference(entry)) __builtin_trap();
            }
        }
    }
    for (const std::size_t cut : {size / 2, size - size / 8, size - 1}) {
        const BcdStoreReading part = ReadBcdStore(bytes.first(cut));
        if (part.store && part.store->objects.size() > whole.store->objects.size()) __builtin_trap();
    }
    return 0;
}
