#include "repair/backup/StorePlan.h"

#include <algorithm>

#include "repair/backup/StoreBackup.h"
#include "repair/stores/StoreNames.h"
#include "repair/stores/SystemStore.h"

namespace orvanta {

std::string StorePathOn(const std::string& bootPartition, StoreFirmware firmware) {
    return bootPartition + (firmware == StoreFirmware::Bios ? "\\boot\\bcd" : "\\EFI\\Microsoft\\Boot\\bcd");
}

std::vector<PlannedStore> PlanStores(StorePlanServices services, const std::string& bootPartition) {
    const std::optional<std::string> systemStoreFile = SystemStoreFile(services.registry);
    std::vector<PlannedStore> stores;
    for (const StoreFirmware firmware : {StoreFirmware::Bios, StoreFirmware::Uefi}) {
        PlannedStore store;
        store.firmware = firmware;
        store.path = StorePathOn(bootPartition, firmware);
        store.leftoverBackup = services.files.fileAttributes(BackupPathOf(store.path)).has_value();
        if (services.files.readFile(store.path, LargestStore).status == FileReadStatus::HeldOpen) {
            const bool system = IsSystemStore(store.path, systemStoreFile, services.drives);
            store.step = system ? PlannedStoreStep::SaveFromRegistry : PlannedStoreStep::RefusedHeld;
            if (!system) store.holders = services.files.holdersOf(store.path);
        } else if (services.files.fileAttributes(store.path)) {
            store.step = PlannedStoreStep::MoveAside;
        }
        stores.push_back(std::move(store));
    }
    return stores;
}

const PlannedStore* HeldStoreOf(const std::vector<PlannedStore>& stores) {
    const auto held = std::find_if(stores.begin(), stores.end(),
                                   [](const PlannedStore& store) { return store.step == PlannedStoreStep::RefusedHeld; });
    return held == stores.end() ? nullptr : &*held;
}

} // namespace orvanta
