#include "platform/system/RegistryTree.h"

#include "platform/text/CaseBlind.h"

namespace orvanta {

const RegistryKey* RegistryKey::subkey(const std::string& wanted) const {
    for (const RegistryKey& key : subkeys) {
        if (SameIgnoringCase(key.name, wanted)) return &key;
    }
    return nullptr;
}

const RegistryValue* RegistryKey::value(const std::string& wanted) const {
    for (const RegistryValue& entry : values) {
        if (SameIgnoringCase(entry.name, wanted)) return &entry;
    }
    return nullptr;
}

} // namespace orvanta
