#include "app/json/JsonListing.h"

#include <algorithm>

#include "app/json/JsonMachine.h"
#include "app/phrases/StoreTexts.h"

namespace orvanta {
namespace {

std::string DeviceKindWord(BcdDeviceKind kind) {
    switch (kind) {
    case BcdDeviceKind::Partition: return "partition";
    case BcdDeviceKind::Boot: return "boot";
    case BcdDeviceKind::Ramdisk: return "ramdisk";
    case BcdDeviceKind::File: return "file";
    case BcdDeviceKind::Vhd: return "vhd";
    case BcdDeviceKind::Locate: return "locate";
    case BcdDeviceKind::Unknown: return "unknown";
    }
    return "unknown";
}

std::string ObjectTypeWord(std::uint32_t type) {
    switch (type) {
    case FirmwareBootManagerType: return "firmwareBootManager";
    case BootManagerType: return "bootManager";
    case WindowsLoaderType: return "windowsLoader";
    case ResumeType: return "resume";
    case MemoryTesterType: return "memoryTester";
    case FirmwareEntryType: return "firmwareEntry";
    default: return "other";
    }
}

JsonValue DeviceJson(const std::optional<BcdDevice>& device) {
    if (!device) return {};
    JsonValue json;
    json.set("kind", DeviceKindWord(device->kind));
    json.set("partition", device->partition ? PartitionIdentityJson(*device->partition) : JsonValue());
    json.set("file", JsonTextOrNull(device->file));
    json.set("fileOn", device->fileOn == BcdDeviceKind::Unknown ? JsonValue() : JsonValue(DeviceKindWord(device->fileOn)));
    json.set("options", JsonTextOrNull(device->options));
    json.set("locateElement", device->locateElement == 0 ? JsonValue() : JsonValue(device->locateElement));
    return json.set("text", DeviceText(*device));
}

JsonValue EntryJson(const BcdObject& object, const BcdObject* manager, const StoreListing& listing) {
    JsonValue json;
    json.set("identifier", object.identifier).set("wellKnownName", JsonTextOrNull(WellKnownName(object.identifier)));
    json.set("type", object.type).set("typeName", ObjectTypeWord(object.type)).set("description", object.description);
    json.set("device", DeviceJson(object.device)).set("path", JsonTextOrNull(object.path));
    json.set("osDevice", DeviceJson(object.osDevice)).set("systemRoot", JsonTextOrNull(object.systemRoot));
    json.set("isDefault", manager != nullptr && manager->defaultEntry == object.identifier);
    const auto& missing = listing.onMissingPartitions;
    return json.set("onMissingPartition", std::find(missing.begin(), missing.end(), object.identifier) != missing.end());
}

} // namespace

std::string FaultWord(StoreFault fault) {
    switch (fault) {
    case StoreFault::None: return "none";
    case StoreFault::NotAHive: return "notAHive";
    case StoreFault::Damaged: return "damaged";
    case StoreFault::NotAStore: return "notAStore";
    }
    return "damaged";
}

JsonValue StoreListingJson(const StoreListing& listing) {
    JsonValue json;
    const std::optional<BcdStore>& store = listing.reading.store;
    json.set("readable", store.has_value()).set("fault", FaultWord(listing.reading.fault));
    if (!store) return json;
    const BcdObject* manager = store->bootManager();
    json.set("dirty", store->dirty).set("defaultEntry", manager ? JsonTextOrNull(manager->defaultEntry) : JsonValue());
    JsonValue entries = JsonArray{};
    std::size_t others = 0;
    for (const BcdObject& object : store->objects) {
        if (IsApplication(object)) entries.push(EntryJson(object, manager, listing));
        else ++others;
    }
    return json.set("entries", entries).set("otherObjects", std::uint64_t{others}).set("skippedKeys", JsonTexts(store->skippedKeys));
}

} // namespace orvanta
