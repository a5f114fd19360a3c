#pragma once
// A boot configuration (BCD) store read from its key tree: the objects under
// Objects\{GUID}, each with Description\Type and its elements under
// Elements\<element type>\Element. The element types are Microsoft's
// (BcdLibraryElementTypes, BcdBootMgrElementTypes, BcdOSLoaderElementTypes);
// strings are REG_SZ, object lists REG_MULTI_SZ, integers 8 bytes and
// devices binary (discovery/bcd/BcdDevice.h).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "discovery/bcd/BcdDevice.h"
#include "discovery/bcd/RegistryHive.h"

namespace orvanta {

// Object types: the application's kind in the low bits, its image kind and
// class above (Microsoft's BcdObject Type).
inline constexpr std::uint32_t FirmwareBootManagerType = 0x10100001;
inline constexpr std::uint32_t BootManagerType = 0x10100002;
inline constexpr std::uint32_t WindowsLoaderType = 0x10200003;
inline constexpr std::uint32_t ResumeType = 0x10200004;
inline constexpr std::uint32_t MemoryTesterType = 0x10200005;
// The objects that mirror the firmware's own boot entries.
inline constexpr std::uint32_t FirmwareEntryType = 0x101FFFFF;

struct BcdObject {
    std::string identifier = {}; // "{9dea862c-5cdd-4e70-acc1-f32b344d4795}", lower case
    std::uint32_t type = 0;
    std::string description = {};
    std::optional<BcdDevice> device = {};   // where its program lies
    std::string path = {};                  // its program
    std::optional<BcdDevice> osDevice = {}; // a loader's system, a resume entry's hibernation file
    std::string systemRoot = {};            // a loader's Windows folder ("\Windows")
    std::string defaultEntry = {};          // a boot manager's default, "" when none
    std::vector<std::string> displayOrder = {};
    std::vector<std::string> recoverySequence = {};
    std::optional<std::uint64_t> timeout = {}; // seconds

    bool operator==(const BcdObject&) const = default;
};

// Objects of the application class are entries (of the store or, mirrored,
// of the firmware); the others hold settings that entries inherit, or device
// options (a ramdisk's).
bool IsApplication(const BcdObject& object);
// The firmware's own: its boot manager and the objects that mirror its entries.
bool IsFirmwareObject(const BcdObject& object);

// The name bcdedit gives a well-known identifier ("{bootmgr}"), else "".
std::string WellKnownName(const std::string& identifier);

struct BcdStore {
    std::vector<BcdObject> objects; // in the order of their keys
    bool dirty = false;             // read from a hive whose last write was not finished
    // Keys under Objects whose name is no GUID ("{Default}"): no object, skipped.
    std::vector<std::string> skippedKeys = {};

    bool operator==(const BcdStore&) const = default;
    const BcdObject* find(const std::string& identifier) const;
    // The Windows boot manager, nothing when the store has none.
    const BcdObject* bootManager() const;
};

// Why a store can't be read.
enum class StoreFault {
    None,
    NotAHive, // not a registry hive file at all
    Damaged,  // a hive whose cells can't be followed, or larger than any store
    NotAStore // a hive without Objects
};

struct BcdStoreReading {
    std::optional<BcdStore> store;
    StoreFault fault = StoreFault::None;

    bool operator==(const BcdStoreReading&) const = default;
};

BcdStoreReading ReadBcdStore(std::span<const std::uint8_t> hive);
// The store in a key tree (a hive's root, or the registry's loaded store).
BcdStoreReading BcdStoreOf(const RegistryKey& root);

} // namespace orvanta
