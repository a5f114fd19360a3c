#include "app/json/JsonSummary.h"

#include "app/json/JsonMachine.h"
#include "app/json/JsonRestore.h"
#include "app/json/JsonStores.h"
#include "app/json/JsonVerdicts.h"
#include "app/texts/PlanTexts.h"

namespace orvanta {
namespace {

JsonValue ErrorJson(const PlatformError& error) {
    JsonValue json;
    return json.set("code", error.number()).set("message", error.description());
}

JsonValue ProgramJson(const ProgramFacts& program) {
    JsonValue json;
    json.set("name", "Orvanta").set("version", program.version).set("architecture", program.architecture);
    return json.set("windows", program.windows).set("elevated", program.elevated);
}

// Why a command ended before its end; nothing when it didn't.
JsonValue StopReasonOf(const RunSummary& summary) {
    if (summary.error) return "systemError";
    if (summary.sessionEnded) return "sessionEnded";
    if (summary.restore && summary.restore->stop != RestoreStop::None) return "restoreStopped";
    if (!summary.report) return {};
    const RepairReport& report = *summary.report;
    if (report.abandoned) return "sessionEnded";
    if (report.error) return report.stoppedTool.empty() ? "systemError" : "toolCouldNotStart";
    if (report.settleError) return "storeNotPutBack";
    return {};
}

JsonValue StopErrorOf(const RunSummary& summary) {
    if (summary.error) return ErrorJson(*summary.error);
    if (summary.restore && summary.restore->failure) return ErrorJson(*summary.restore->failure);
    if (summary.report && summary.report->error) return ErrorJson(*summary.report->error);
    if (summary.report && summary.report->settleError) return ErrorJson(*summary.report->settleError);
    return {};
}

JsonValue RefusalJson(const RunSummary& summary) {
    if (!summary.refusal) return {};
    JsonValue json;
    json.set("code", summary.refusal->code);
    return json.set("message", summary.refusal->message.text);
}

UefiContext UefiContextOf(const RunSummary& summary) {
    return {summary.survey ? summary.survey->firmware : FirmwareMode::Unknown, summary.systemPartitionLetter};
}

JsonValue WarningsJson(const RunSummary& summary) {
    if (!summary.survey) return JsonArray{};
    const RepairPlan* plan = summary.plan ? &*summary.plan : nullptr;
    return JsonArrayOf(WarningsBeforeRun(plan, UefiContextOf(summary), *summary.survey), [](const WarningBeforeRun& warning) {
        JsonValue json;
        return json.set("code", warning.code).set("message", warning.text);
    });
}

JsonValue BootPlaceJson(const DrivePlace& place) {
    JsonValue json;
    json.set("disk", place.disk).set("partition", place.partition).set("style", PartitionStyleWord(place.style));
    json.set("systemPartition", place.systemPartition);
    if (place.style == PartitionStyle::Mbr) json.set("active", place.isActive());
    return json;
}

JsonValue PlanJson(const RunSummary& summary) {
    if (!summary.plan) return {};
    const RepairPlan& plan = *summary.plan;
    JsonValue json;
    json.set("bootPartition", plan.bootPartition).set("fileSystem", JsonTextOrNull(plan.bootFileSystem));
    json.set("bootPlace", plan.bootPlace ? BootPlaceJson(*plan.bootPlace) : JsonValue());
    JsonValue room;
    if (plan.room) room.set("freeBytes", plan.room->freeBytes).set("neededBytes", plan.room->neededBytes).set("enough", plan.room->enough());
    json.set("room", room).set("runOrder", JsonTexts(plan.runOrder));
    json.set("defaultInstallation", plan.runOrder.empty() ? JsonValue() : JsonValue(plan.runOrder.back()));
    json.set("missingTools", JsonTexts(plan.missingTools));
    json.set("bootexInstallations", JsonTexts(plan.uefiBootFiles ? plan.uefiBootFiles->bootexInstallations() : std::vector<std::string>{}));
    json.set("stores", PlannedStoresJson(summary.plannedStores));
    return json.set("commandLines", JsonArrayOf(summary.plannedCalls, [](const ToolCall& call) { return JsonValue(call.commandLine()); }));
}

JsonValue ToolRunJson(const SummaryToolRun& entry) {
    const ToolRun& run = entry.run;
    JsonValue json;
    json.set("commandLine", run.commandLine).set("program", entry.program);
    json.set("exitCode", run.startError ? JsonValue() : JsonValue(run.exitCode));
    json.set("startError", run.startError ? ErrorJson(*run.startError) : JsonValue());
    json.set("succeeded", run.succeeded()).set("milliseconds", run.milliseconds);
    return json.set("output", run.standardOutput).set("errorOutput", run.standardError);
}

JsonValue MessageJson(const Message& message) {
    JsonValue json;
    return json.set("title", message.title).set("text", message.text);
}

JsonValue SkippedToolJson(const SummarySkippedTool& skipped) {
    JsonValue json;
    return json.set("commandLine", skipped.commandLine).set("version", skipped.version);
}

void AddStores(JsonValue& document, const RunSummary& summary) {
    if (summary.report) {
        AddRepairedStores(document, *summary.report);
        return;
    }
    document.set("stores", ListedStoresJson(summary.listedStores));
    document.set("storeSteps", JsonArray{}).set("keptCopies", JsonArray{}).set("removedCopies", JsonArray{});
}

} // namespace

JsonValue SummaryDocument(const RunSummary& summary) {
    JsonValue document;
    document.set("schemaVersion", SummarySchemaVersion).set("program", ProgramJson(summary.program));
    document.set("command", summary.command).set("completed", summary.exitCode.has_value());
    document.set("exitCode", summary.exitCode ? JsonValue(*summary.exitCode) : JsonValue());
    document.set("refusal", RefusalJson(summary)).set("stopReason", StopReasonOf(summary)).set("error", StopErrorOf(summary));
    document.set("log", JsonTextOrNull(summary.logPath));
    const std::string defaultInstallation = summary.plan && !summary.plan->runOrder.empty() ? summary.plan->runOrder.back() : "";
    if (summary.survey) {
        AddMachine(document, *summary.survey, summary.systemPartitionLetter, summary.letterGiven, defaultInstallation);
    } else {
        document.set("firmware", nullptr).set("systemPartition", nullptr);
        document.set("disks", JsonArray{}).set("drives", JsonArray{}).set("skipped", JsonArray{}).set("installations", JsonArray{});
    }
    document.set("warnings", WarningsJson(summary)).set("plan", PlanJson(summary));
    const std::optional<UefiBootFiles> before = summary.plan ? summary.plan->uefiBootFiles : std::nullopt;
    document.set("secureBootVerdicts", SecureBootVerdictsJson(before, summary.uefiStart));
    AddStores(document, summary);
    document.set("toolRuns", JsonArrayOf(summary.toolRuns, ToolRunJson));
    document.set("skippedTools", JsonArrayOf(summary.skippedTools, SkippedToolJson));
    document.set("restore", summary.restore ? RestoreJson(*summary.restore) : JsonValue());
    return document.set("messages", JsonArrayOf(summary.messages, MessageJson));
}

} // namespace orvanta
