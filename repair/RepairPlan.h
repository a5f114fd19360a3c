#pragma once
// What a repair will do, settled before anything is touched: the tools, the
// boot partition and the order of the installations.
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace orvanta {

// Why a repair does not start.
enum class Refusal {
    None,
    ToolsMissing,     // bcdboot.exe or bootsect.exe is not in the Bin folder
    BadBootPartition, // the boot partition is not a drive letter and a colon
};

struct RepairRequest {
    std::vector<std::string> installations; // as found, in drive order
    std::string defaultInstallation;        // one of them; it runs last
    std::string bootPartition;              // as the user gave it
};

struct RepairPlan {
    Refusal refusal = Refusal::None;
    std::vector<std::string> missingTools; // the paths where the missing tools were expected
    std::string toolFolder;                // the application folder, which holds Bin
    std::string bootPartition;             // "C:"
    std::vector<std::string> runOrder;     // the others from the last to the first, the default last
};

// The installation to make the default: the one selected before the rescan
// when the make-default box is checked and it is still listed, else the first.
std::string DefaultInstallationOf(const std::vector<std::string>& installations,
                                  const std::string& selectedBefore, bool keepSelected);

// Checks the tools and the boot partition and orders the installations.
// Touches nothing; a refused plan says why.
RepairPlan PlanRepair(const RepairRequest& request, FileSystem& files);

} // namespace orvanta
