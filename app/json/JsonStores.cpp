#include "app/json/JsonStores.h"

#include <algorithm>

#include "app/json/JsonListing.h"
#include "app/phrases/StoreTexts.h"
#include "repair/stores/StoreNames.h"

namespace orvanta {
namespace {

std::string OutcomeWord(StoreOutcome outcome) {
    switch (outcome) {
    case StoreOutcome::Repaired: return "repaired";
    case StoreOutcome::FailedCheck: return "failedCheck";
    case StoreOutcome::PutBack: return "putBack";
    case StoreOutcome::NotRepaired: return "notRepaired";
    case StoreOutcome::Missing: return "missing";
    case StoreOutcome::Restored: return "restored";
    case StoreOutcome::LeftBeside: return "leftBeside";
    case StoreOutcome::LeftInPlace: return "leftInPlace";
    }
    return "missing";
}

std::string ProblemWord(StoreProblem problem) {
    switch (problem) {
    case StoreProblem::Unreadable: return "unreadable";
    case StoreProblem::NoBootManager: return "noBootManager";
    case StoreProblem::NoDefault: return "noDefault";
    case StoreProblem::OtherDefault: return "otherDefault";
    case StoreProblem::NoLoader: return "noLoader";
    case StoreProblem::TooFewLoaders: return "tooFewLoaders";
    case StoreProblem::WrongProgram: return "wrongProgram";
    case StoreProblem::DefaultNotHere: return "defaultNotHere";
    }
    return "unreadable";
}

std::string StepWord(StoreStep step) {
    switch (step) {
    case StoreStep::BackupPutBack: return "backupPutBack";
    case StoreStep::LeftoverKept: return "leftoverKept";
    case StoreStep::MovedAside: return "movedAside";
    case StoreStep::CouldNotMove: return "couldNotMove";
    case StoreStep::SavedFromRegistry: return "savedFromRegistry";
    case StoreStep::CouldNotSave: return "couldNotSave";
    case StoreStep::HeldByProgram: return "heldByProgram";
    case StoreStep::KeptAs: return "keptAs";
    case StoreStep::PutBack: return "putBack";
    case StoreStep::BackupLeftBeside: return "backupLeftBeside";
    case StoreStep::Restored: return "restored";
    case StoreStep::LeftInPlace: return "leftInPlace";
    case StoreStep::OldCopyRemoved: return "oldCopyRemoved";
    case StoreStep::CopyNotWritten: return "copyNotWritten";
    case StoreStep::CopyLeftUnfinished: return "copyLeftUnfinished";
    case StoreStep::LogNotMoved: return "logNotMoved";
    case StoreStep::LogNotRemoved: return "logNotRemoved";
    case StoreStep::KeptBeforeRestore: return "keptBeforeRestore";
    case StoreStep::CopyPutInPlace: return "copyPutInPlace";
    case StoreStep::RestoredThroughRegistry: return "restoredThroughRegistry";
    case StoreStep::StrayLogRemoved: return "strayLogRemoved";
    case StoreStep::AttributesNotSet: return "attributesNotSet";
    case StoreStep::ReplacedPutBack: return "replacedPutBack";
    }
    return "unknown";
}

std::string PlannedStepWord(PlannedStoreStep step) {
    switch (step) {
    case PlannedStoreStep::Create: return "create";
    case PlannedStoreStep::MoveAside: return "moveAside";
    case PlannedStoreStep::SaveFromRegistry: return "saveFromRegistry";
    case PlannedStoreStep::RefusedHeld: return "refusedHeld";
    }
    return "create";
}

JsonValue CheckJson(const StoreReport& store) {
    if (!store.after) return {};
    return StoreCheckJson(store.check, store.firmware);
}

JsonValue StoreReportJson(const StoreReport& store) {
    JsonValue json;
    json.set("firmware", FirmwareWordOf(store.firmware)).set("path", store.path);
    json.set("outcome", OutcomeWord(store.outcome)).set("inPlace", store.inPlace);
    json.set("before", store.before ? StoreListingJson(*store.before) : JsonValue());
    json.set("after", store.after ? StoreListingJson(*store.after) : JsonValue());
    json.set("check", CheckJson(store));
    JsonValue dropped = JsonArray{};
    for (const DroppedEntry& entry : store.dropped) {
        JsonValue item;
        item.set("identifier", entry.entry.identifier).set("description", entry.entry.description);
        dropped.push(item.set("descriptionOnly", entry.descriptionOnly));
    }
    return json.set("dropped", dropped).set("oldStoreKept", JsonTextOrNull(store.oldStoreKept));
}

// The copies a step made, and how.
std::optional<std::string> CopyMadeBy(StoreStep step) {
    switch (step) {
    case StoreStep::LeftoverKept: return "leftoverKept";
    case StoreStep::KeptAs: return "keptAs";
    case StoreStep::SavedFromRegistry: return "savedFromRegistry";
    case StoreStep::CouldNotMove: return "copiedBeforeUpdate";
    default: return std::nullopt;
    }
}

} // namespace

std::string FirmwareWordOf(StoreFirmware firmware) {
    return firmware == StoreFirmware::Bios ? "bios" : "uefi";
}

JsonValue StoreCheckJson(const StoreCheck& check, StoreFirmware firmware) {
    JsonValue findings = JsonArray{};
    for (const StoreFinding& finding : check.findings) {
        JsonValue json;
        json.set("problem", ProblemWord(finding.problem)).set("installation", JsonTextOrNull(finding.installation));
        json.set("entry", JsonTextOrNull(finding.entry)).set("detail", JsonTextOrNull(finding.detail));
        if (finding.problem == StoreProblem::TooFewLoaders) json.set("found", std::uint64_t{finding.found}).set("expected", std::uint64_t{finding.expected});
        findings.push(json.set("message", FindingText(finding, firmware)));
    }
    JsonValue json;
    json.set("passed", check.passed()).set("findings", findings);
    return json.set("matchedByFolderOnly", check.matchedByFolderOnly).set("unmatchedVirtualDisks", JsonTexts(check.unmatchedVirtualDisks));
}

JsonValue StoreStepJson(const StoreEvent& event) {
    JsonValue step;
    return step.set("store", event.path).set("step", StepWord(event.step)).set("detail", JsonTextOrNull(event.detail));
}

JsonValue ListedStoresJson(const std::vector<SummaryListedStore>& stores) {
    JsonValue list = JsonArray{};
    for (const SummaryListedStore& store : stores) {
        JsonValue json;
        json.set("firmware", FirmwareWordOf(store.firmware)).set("path", store.path);
        list.push(json.set("current", store.listing ? StoreListingJson(*store.listing) : JsonValue()));
    }
    return list;
}

JsonValue PlannedStoresJson(const std::vector<PlannedStore>& stores) {
    JsonValue list = JsonArray{};
    for (const PlannedStore& store : stores) {
        JsonValue json;
        json.set("firmware", FirmwareWordOf(store.firmware)).set("path", store.path);
        json.set("step", PlannedStepWord(store.step)).set("leftoverBackup", store.leftoverBackup);
        const bool copied = store.step == PlannedStoreStep::MoveAside || store.step == PlannedStoreStep::SaveFromRegistry;
        json.set("backupPath", store.step == PlannedStoreStep::MoveAside ? JsonValue(BackupPathOf(store.path)) : JsonValue());
        json.set("copyFolder", copied ? JsonValue(FolderOf(store.path)) : JsonValue());
        json.set("copyNamePattern", copied ? JsonValue(FileNameOf(store.path) + ".orvanta-NNNN-YYYYMMDD-HHMMSS[-ok]") : JsonValue());
        list.push(json.set("holders", JsonTexts(store.holders)));
    }
    return list;
}

void AddRepairedStores(JsonValue& document, const RepairReport& report) {
    document.set("stores", JsonArray{StoreReportJson(report.bios), StoreReportJson(report.uefi)});
    JsonValue steps = JsonArray{}, kept = JsonArray{}, removed = JsonArray{};
    for (const StoreEvent& event : report.storeSteps) {
        steps.push(StoreStepJson(event));
        JsonValue copy;
        copy.set("store", event.path).set("path", event.detail);
        if (const auto how = CopyMadeBy(event.step); how && !event.detail.empty()) kept.push(copy.set("how", *how));
        if (event.step == StoreStep::OldCopyRemoved) removed.push(copy);
    }
    document.set("storeSteps", steps).set("keptCopies", kept).set("removedCopies", removed);
}

} // namespace orvanta
