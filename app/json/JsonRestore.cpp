#include "app/json/JsonRestore.h"

#include <algorithm>

#include "app/json/JsonListing.h"
#include "app/json/JsonStores.h"
#include "app/texts/LogLines.h"

namespace orvanta {
namespace {

std::string StopWord(RestoreStop stop) {
    switch (stop) {
    case RestoreStop::None: return "none";
    case RestoreStop::CopyNotMoved: return "copyNotMoved";
    case RestoreStop::RegistryNotRestored: return "registryNotRestored";
    case RestoreStop::Error: return "error";
    }
    return "error";
}

// The PC's clock as the copy's name gives it, as the log writes it but with
// ISO 8601's separator: "2026-12-08T15:31:02".
std::string TimeText(const LocalTime& time) {
    std::string text = DateTimeText(time);
    std::replace(text.begin(), text.end(), ' ', 'T');
    return text;
}

JsonValue ListedEntryJson(const ListedEntry& listed) {
    JsonValue json;
    json.set("identifier", listed.entry.identifier).set("description", listed.entry.description);
    json.set("systemRoot", JsonTextOrNull(listed.entry.systemRoot));
    return json.set("installation", JsonTextOrNull(listed.installation));
}

JsonValue ListedCopyJson(const ListedCopy& listed) {
    const KeptCopy& copy = listed.copy;
    JsonValue json;
    json.set("path", listed.path).set("name", copy.name);
    json.set("number", copy.numbered ? JsonValue(copy.number) : JsonValue());
    json.set("time", copy.numbered ? JsonValue(TimeText(copy.time)) : JsonValue());
    json.set("dated", copy.numbered ? JsonValue() : JsonValue(copy.dated));
    json.set("passed", copy.passed).set("readable", listed.fault == StoreFault::None).set("fault", FaultWord(listed.fault));
    json.set("bootManager", listed.bootManager);
    json.set("defaultEntry", listed.defaultEntry ? ListedEntryJson(*listed.defaultEntry) : JsonValue());
    return json.set("loaders", JsonArrayOf(listed.loaders, ListedEntryJson));
}

JsonValue StoreCopiesJson(const StoreCopies& store) {
    JsonValue json;
    json.set("store", store.storePath).set("listed", store.listed);
    return json.set("copies", JsonArrayOf(store.copies, ListedCopyJson));
}

} // namespace

std::string RestoreRefusalWord(RestoreRefusal refusal) {
    switch (refusal) {
    case RestoreRefusal::None: return "none";
    case RestoreRefusal::NotElevated: return "notElevated";
    case RestoreRefusal::AnotherRepair: return "anotherRepair";
    case RestoreRefusal::OutsideStoreFolders: return "outsideStoreFolders";
    case RestoreRefusal::NotAKeptCopy: return "notAKeptCopy";
    case RestoreRefusal::BadBootPartition: return "badBootPartition";
    case RestoreRefusal::OtherDrive: return "otherDrive";
    case RestoreRefusal::NoSuchDrive: return "noSuchDrive";
    case RestoreRefusal::NoSuchCopy: return "noSuchCopy";
    case RestoreRefusal::CopyUnreadable: return "copyUnreadable";
    case RestoreRefusal::HeldByProgram: return "heldByProgram";
    case RestoreRefusal::FolderNotListed: return "folderNotListed";
    case RestoreRefusal::StoreNotMoved: return "storeNotMoved";
    case RestoreRefusal::StrayLog: return "strayLog";
    case RestoreRefusal::SystemStoreNotSaved: return "systemStoreNotSaved";
    case RestoreRefusal::SystemStoreNotRestored: return "systemStoreNotRestored";
    }
    return "none";
}

JsonValue RestoreJson(const RestoreReport& report) {
    JsonValue json;
    json.set("bootPartition", report.bootPartition);
    json.set("copies", JsonArrayOf(report.listing, StoreCopiesJson));
    // The members below are those of a copy put back: null or empty when none was named.
    const bool asked = !report.asked.empty();
    json.set("asked", JsonTextOrNull(report.asked)).set("store", JsonTextOrNull(report.storePath));
    json.set("firmware", asked ? JsonValue(FirmwareWordOf(report.firmware)) : JsonValue());
    json.set("copy", JsonTextOrNull(report.copyPath)).set("throughRegistry", report.throughRegistry);
    json.set("replaced", report.replaced ? StoreListingJson(*report.replaced) : JsonValue());
    json.set("replacedPassed", report.replacedPassed).set("replacedKeptAt", JsonTextOrNull(report.replacedKeptAt));
    json.set("restored", report.restored);
    json.set("after", report.after ? StoreListingJson(*report.after) : JsonValue());
    json.set("check", report.after ? StoreCheckJson(report.check, report.firmware) : JsonValue());
    json.set("withoutLoader", JsonTexts(report.withoutLoader));
    json.set("steps", JsonArrayOf(report.steps, StoreStepJson));
    json.set("refusal", report.refusal == RestoreRefusal::None ? JsonValue() : JsonValue(RestoreRefusalWord(report.refusal)));
    json.set("holders", JsonTexts(report.holders)).set("stop", report.stop == RestoreStop::None ? JsonValue() : JsonValue(StopWord(report.stop)));
    return json.set("systemError", report.error == 0 ? JsonValue() : JsonValue(report.error));
}

} // namespace orvanta
