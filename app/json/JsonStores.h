#pragma once
// The BCD stores in the summary for scripts: as /list read them, what a plan
// would do with them, a repair's stores before and after with the check and
// its findings, what was done with them step by step, and the kept copies
// made and removed.
#include <string>
#include <vector>

#include "app/json/JsonDocument.h"
#include "app/json/RunSummary.h"

namespace orvanta {

// "bios" or "uefi".
std::string FirmwareWordOf(StoreFirmware firmware);
// {"passed", "findings", "matchedByFolderOnly", "unmatchedVirtualDisks"}.
JsonValue StoreCheckJson(const StoreCheck& check, StoreFirmware firmware);
// {"store", "step", "detail"}: one thing done with a store.
JsonValue StoreStepJson(const StoreEvent& event);

// The stores as /list read them.
JsonValue ListedStoresJson(const std::vector<SummaryListedStore>& stores);

// What the plan would do with each store, and where its copy would go.
JsonValue PlannedStoresJson(const std::vector<PlannedStore>& stores);

// A repair's members: "stores" (each before and after, with the check),
// "storeSteps", "keptCopies" and "removedCopies", added to `document`.
void AddRepairedStores(JsonValue& document, const RepairReport& report);

} // namespace orvanta
