#include "discovery/bcd/BcdStore.h"

#include <algorithm>
#include <array>
#include <utility>

#include "discovery/bytes/Guid.h"
#include "discovery/bytes/LittleEndian.h"
#include "platform/text/TextEncodings.h"

namespace orvanta {
namespace {

constexpr std::uint32_t ApplicationClass = 1;
constexpr std::uint32_t FirmwareImage = 1;

// Element types.
constexpr std::uint32_t ApplicationDevice = 0x11000001;
constexpr std::uint32_t ApplicationPath = 0x12000002;
constexpr std::uint32_t Description = 0x12000004;
constexpr std::uint32_t RecoverySequence = 0x14000008;
constexpr std::uint32_t OsDevice = 0x21000001;
constexpr std::uint32_t SystemRoot = 0x22000002;
constexpr std::uint32_t DefaultEntry = 0x23000003;
constexpr std::uint32_t DisplayOrder = 0x24000001;
constexpr std::uint32_t Timeout = 0x25000004;

constexpr std::array<std::pair<const char*, const char*>, 12> WellKnown{{
    {"{9dea862c-5cdd-4e70-acc1-f32b344d4795}", "{bootmgr}"},
    {"{a5a30fa2-3d06-4e9f-b5f4-a01df9d1fcba}", "{fwbootmgr}"},
    {"{b2721d73-1db4-4c62-bf78-c548a880142d}", "{memdiag}"},
    {"{466f5a88-0af2-4f76-9038-095b170dc21c}", "{ntldr}"},
    {"{7ea2e1ac-2e61-4728-aaa3-896d9d0a9f0e}", "{globalsettings}"},
    {"{6efb52bf-1766-41db-a6b3-0ee5eff72bd7}", "{bootloadersettings}"},
    {"{1afa9c49-16ab-4a5c-901b-212802da9460}", "{resumeloadersettings}"},
    {"{7ff607e0-4395-11db-b0de-0800200c9a66}", "{hypervisorsettings}"},
    {"{4636856e-540f-4170-a130-a84776f4c654}", "{dbgsettings}"},
    {"{0ce4991b-e6b3-4b16-b23c-5e0d9250e5d9}", "{emssettings}"},
    {"{5189b25c-5558-4bf2-bca4-289b11bd29e2}", "{badmemory}"},
    {"{ae5534e0-a924-466c-b836-758539a3ee3a}", "{ramdiskoptions}"},
}};

std::string TextOf(const std::vector<std::uint8_t>& data) {
    return Utf16ToUtf8({reinterpret_cast<const char*>(data.data()), data.size()}, ByteOrder::LittleEndian);
}

// A GUID reference in the form every store writes, lower-cased; "" otherwise.
std::string IdentifierOf(const std::string& text) {
    const std::optional<GuidBytes> guid = ParseGuidText(text);
    return guid ? GuidText(*guid) : std::string();
}

std::string StringOf(const RegistryValue& value) {
    const std::string text = TextOf(value.data);
    return text.substr(0, text.find('\0'));
}

std::vector<std::string> IdentifiersOf(const RegistryValue& value) {
    std::vector<std::string> identifiers;
    const std::string text = TextOf(value.data);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\0', start), text.size());
        const std::string identifier = IdentifierOf(text.substr(start, end - start));
        if (!identifier.empty()) identifiers.push_back(identifier);
        start = end + 1;
    }
    return identifiers;
}

void ReadElement(BcdObject& object, std::uint32_t type, const RegistryValue& value) {
    switch (type) {
    case ApplicationDevice: object.device = ParseBcdDevice(value.data); break;
    case ApplicationPath: object.path = StringOf(value); break;
    case Description: object.description = StringOf(value); break;
    case RecoverySequence: object.recoverySequence = IdentifiersOf(value); break;
    case OsDevice: object.osDevice = ParseBcdDevice(value.data); break;
    case SystemRoot: object.systemRoot = StringOf(value); break;
    case DefaultEntry: // a loader's resume object under the same number
        if (object.type == BootManagerType || object.type == FirmwareBootManagerType) {
            object.defaultEntry = IdentifierOf(StringOf(value));
        }
        break;
    case DisplayOrder: object.displayOrder = IdentifiersOf(value); break;
    case Timeout:
        if (value.data.size() >= 8) object.timeout = ReadLittleEndian(value.data, 0, 8);
        break;
    default: break;
    }
}

// An element's key is named by its type in hexadecimal ("12000004").
std::optional<std::uint32_t> ElementTypeOf(const std::string& name) {
    if (name.empty() || name.size() > 8) return std::nullopt;
    std::uint32_t type = 0;
    for (const char digit : name) {
        const char lower = digit >= 'A' && digit <= 'F' ? static_cast<char>(digit - 'A' + 'a') : digit;
        const bool decimal = lower >= '0' && lower <= '9';
        if (!decimal && !(lower >= 'a' && lower <= 'f')) return std::nullopt;
        type = type << 4U | static_cast<std::uint32_t>(decimal ? lower - '0' : lower - 'a' + 10);
    }
    return type;
}

BcdObject ObjectOf(const std::string& identifier, const RegistryKey& key) {
    BcdObject object{.identifier = identifier};
    if (const RegistryKey* description = key.subkey("Description")) {
        const RegistryValue* type = description->value("Type");
        if (type != nullptr && type->data.size() >= 4) object.type = ReadLittleEndian32(type->data, 0);
    }
    const RegistryKey* elements = key.subkey("Elements");
    if (elements == nullptr) return object;
    for (const RegistryKey& element : elements->subkeys) {
        const std::optional<std::uint32_t> type = ElementTypeOf(element.name);
        const RegistryValue* value = element.value("Element");
        if (type && value != nullptr) ReadElement(object, *type, *value);
    }
    return object;
}

} // namespace

bool IsApplication(const BcdObject& object) {
    return object.type >> 28U == ApplicationClass;
}

bool IsFirmwareObject(const BcdObject& object) {
    return IsApplication(object) && (object.type >> 20U & 0xFU) == FirmwareImage && object.type != BootManagerType;
}

std::string WellKnownName(const std::string& identifier) {
    for (const auto& [guid, name] : WellKnown) {
        if (identifier == guid) return name;
    }
    return {};
}

const BcdObject* BcdStore::find(const std::string& identifier) const {
    const auto found = std::find_if(objects.begin(), objects.end(),
                                    [&](const BcdObject& object) { return object.identifier == identifier; });
    return found == objects.end() ? nullptr : &*found;
}

const BcdObject* BcdStore::bootManager() const {
    const auto found = std::find_if(objects.begin(), objects.end(),
                                    [](const BcdObject& object) { return object.type == BootManagerType; });
    return found == objects.end() ? nullptr : &*found;
}

BcdStoreReading BcdStoreOf(const RegistryKey& root) {
    const RegistryKey* objects = root.subkey("Objects");
    if (objects == nullptr) return {std::nullopt, StoreFault::NotAStore};
    BcdStore store;
    for (const RegistryKey& key : objects->subkeys) {
        const std::string identifier = IdentifierOf(key.name);
        if (identifier.empty()) {
            store.skippedKeys.push_back(key.name);
        } else {
            store.objects.push_back(ObjectOf(identifier, key));
        }
    }
    return {std::move(store), StoreFault::None};
}

BcdStoreReading ReadBcdStore(std::span<const std::uint8_t> hive) {
    const HiveReading reading = ReadHive(hive);
    if (!reading.root) {
        return {std::nullopt, reading.fault == HiveFault::NotAHive ? StoreFault::NotAHive : StoreFault::Damaged};
    }
    BcdStoreReading store = BcdStoreOf(*reading.root);
    if (store.store) store.store->dirty = reading.dirty;
    return store;
}

} // namespace orvanta
