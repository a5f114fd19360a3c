#pragma once
// The machine in the summary for scripts: the firmware and its boot entries,
// the ESP, the disks with their partitions, the drives and the installations,
// as machine values (fixed English words, sizes in bytes, GUIDs in braces).
#include <optional>
#include <string>

#include "app/json/JsonDocument.h"
#include "discovery/bcd/BcdDevice.h"
#include "discovery/survey/MachineSurvey.h"
#include "discovery/disks/PartitionIdentity.h"

namespace orvanta {

// {"style": "gpt", "partitionId": "{…}"} or {"style": "mbr", "diskSignature": "1234ABCD", "offsetBytes": …}.
JsonValue PartitionIdentityJson(const PartitionIdentity& identity);

// "gpt", "mbr", "raw".
std::string PartitionStyleWord(PartitionStyle style);

// "uefi", "bios", "unknown".
std::string FirmwareWord(FirmwareMode mode);

// The survey's members: "firmware", "systemPartition", "disks", "drives",
// "skipped" (the disks and drives that didn't answer in time) and
// "installations" (the default marked when it is known), added to `document`.
void AddMachine(JsonValue& document, const MachineSurvey& survey, const std::string& systemPartitionLetter,
                bool letterGiven, const std::string& defaultInstallation);

} // namespace orvanta
