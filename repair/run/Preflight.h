#pragma once
// What the boot partition and its disk say before a run, once the tools, the
// boot partition's form and the rights have passed: a refusal when the run
// can't give a PC that starts (an encrypted boot partition, an encrypting
// boot loader that bootsect would overwrite, too little room), else the
// warnings the technician is asked to accept.
#include "platform/files/FileSystem.h"
#include "repair/run/RepairPlan.h"

namespace orvanta {

// Sets the plan's boot place, room, refusal and warnings, and on a PC not
// known to start from BIOS the boot managers bcdboot will copy. Reads the
// boot partition's free space and the installations' boot folders, and may
// run bcdboot for its usage text; changes nothing.
void CheckBeforeRun(const RepairRequest& request, PlanServices services, RepairPlan& plan);

// What the firmware makes of a boot partition at that place with that file
// system: on BIOS firmware only the active partition of an MBR disk starts,
// on UEFI firmware only an ESP among FAT partitions (a partition that isn't
// FAT gets its warning after the run). Nothing on unknown firmware.
std::optional<RunWarning> FirmwareWarning(FirmwareMode firmware, const DrivePlace& place, const std::string& fileSystem);

} // namespace orvanta
