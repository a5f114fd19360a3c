// A BCD store file as a disk might hold it, damaged or hostile: every text
// read (a skipped key's name too) is valid UTF-8, every identifier and
// reference is a GUID in the form stores write, and a file cut short never
// yields more objects than the whole.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "discovery/bcd/BcdStore.h"
#include "discovery/bytes/Guid.h"
#include "fuzz/FuzzRules.h"

namespace {

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
            if (!orvanta::fuzz::IsWellFormedUtf8(*text)) __builtin_trap();
        }
        for (const auto* device : {&object.device, &object.osDevice}) {
            if (*device && !orvanta::fuzz::IsWellFormedUtf8((*device)->file)) __builtin_trap();
        }
        if (!IsReference(object.identifier)) __builtin_trap();
        if (!object.defaultEntry.empty() && !IsReference(object.defaultEntry)) __builtin_trap();
        for (const auto* list : {&object.displayOrder, &object.recoverySequence}) {
            for (const std::string& entry : *list) {
                if (!IsReference(entry)) __builtin_trap();
            }
        }
    }
    for (const std::string& key : whole.store->skippedKeys) {
        if (!orvanta::fuzz::IsWellFormedUtf8(key)) __builtin_trap();
    }
    for (const std::size_t cut : {size / 2, size - size / 8, size - 1}) {
        const BcdStoreReading part = ReadBcdStore(bytes.first(cut));
        if (part.store && part.store->objects.size() > whole.store->objects.size()) __builtin_trap();
    }
    return 0;
}
