#include "repair/run/RepairPlan.h"

#include <algorithm>

#include "platform/errors/PlatformError.h"
#include "repair/partition/BootPartition.h"
#include "repair/tools/CommandLines.h"
#include "repair/run/Preflight.h"

namespace orvanta {
namespace {

// A tool that can't be looked at (its volume unreadable) can't be run either.
bool IsFilePresent(FileSystem& files, const std::string& path) {
    try {
        return files.fileAttributes(path).has_value();
    } catch (const PlatformError&) {
        return false;
    }
}

} // namespace

std::string DefaultInstallationOf(const std::vector<std::string>& installations,
                                  const std::string& selectedBefore, bool keepSelected) {
    if (installations.empty()) return {};
    const bool stillListed =
        std::find(installations.begin(), installations.end(), selectedBefore) != installations.end();
    return keepSelected && stillListed ? selectedBefore : installations.front();
}

RepairPlan PlanRepair(const RepairRequest& request, PlanServices services) {
    FileSystem& files = services.files;
    RepairPlan plan;
    plan.toolFolder = files.applicationFolder();
    for (const std::string& path : {BcdbootPath(plan.toolFolder), BootsectPath(plan.toolFolder)}) {
        if (!IsFilePresent(files, path)) plan.missingTools.push_back(path);
    }
    if (!plan.missingTools.empty()) {
        plan.refusal = Refusal::ToolsMissing;
        return plan;
    }
    if (!IsDriveLetterAndColon(request.bootPartition)) {
        plan.refusal = Refusal::BadBootPartition;
        return plan;
    }
    if (!request.elevated) {
        plan.refusal = Refusal::NotElevated;
        return plan;
    }
    plan.bootPartition = request.bootPartition;
    plan.bootFileSystem = files.fileSystemName(request.bootPartition);
    for (auto entry = request.installations.rbegin(); entry != request.installations.rend(); ++entry) {
        if (*entry != request.defaultInstallation) plan.runOrder.push_back(*entry);
    }
    plan.runOrder.push_back(request.defaultInstallation);
    plan.firmware = request.firmware;
    plan.partitions = request.partitions;
    plan.virtualDisks = request.virtualDisks;
    plan.disks = request.disks;
    CheckBeforeRun(request, services, plan);
    return plan;
}

bool UefiCanStartFrom(const std::string& fileSystem) {
    std::string upper;
    for (const char c : fileSystem) upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return upper == "FAT" || upper == "FAT12" || upper == "FAT16" || upper == "FAT32";
}

} // namespace orvanta
