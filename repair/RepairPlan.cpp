#include "repair/RepairPlan.h"

#include <algorithm>

#include "repair/BootPartition.h"
#include "repair/CommandLines.h"

namespace orvanta {

std::string DefaultInstallationOf(const std::vector<std::string>& installations,
                                  const std::string& selectedBefore, bool keepSelected) {
    if (installations.empty()) return {};
    const bool stillListed =
        std::find(installations.begin(), installations.end(), selectedBefore) != installations.end();
    return keepSelected && stillListed ? selectedBefore : installations.front();
}

RepairPlan PlanRepair(const RepairRequest& request, FileSystem& files) {
    RepairPlan plan;
    plan.toolFolder = files.applicationFolder();
    for (const std::string& path : {BcdbootPath(plan.toolFolder), BootsectPath(plan.toolFolder)}) {
        if (!files.fileExists(path)) plan.missingTools.push_back(path);
    }
    if (!plan.missingTools.empty()) {
        plan.refusal = Refusal::ToolsMissing;
        return plan;
    }
    if (!IsDriveLetterAndColon(request.bootPartition)) {
        plan.refusal = Refusal::BadBootPartition;
        return plan;
    }
    plan.bootPartition = request.bootPartition;
    for (auto entry = request.installations.rbegin(); entry != request.installations.rend(); ++entry) {
        if (*entry != request.defaultInstallation) plan.runOrder.push_back(*entry);
    }
    plan.runOrder.push_back(request.defaultInstallation);
    return plan;
}

} // namespace orvanta
