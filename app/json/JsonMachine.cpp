#include "app/json/JsonMachine.h"

#include "discovery/volumes/DrivePlace.h"
#include "discovery/bytes/Guid.h"
#include "discovery/volumes/VolumeEncryption.h"
#include "platform/text/TextEncodings.h"
#include "repair/run/UefiStartCheck.h"

namespace orvanta {
namespace {

template <typename Value>
JsonValue OrNull(const std::optional<Value>& value) {
    return value ? JsonValue(*value) : JsonValue();
}

std::string SecureBootWord(SecureBootState state) {
    switch (state) {
    case SecureBootState::On: return "on";
    case SecureBootState::Off: return "off";
    case SecureBootState::NotSupported: return "notSupported";
    case SecureBootState::Unknown: return "unknown";
    }
    return "unknown";
}

std::string BootCodeWord(MasterBootCodeKind kind) {
    switch (kind) {
    case MasterBootCodeKind::Empty: return "empty";
    case MasterBootCodeKind::Windows: return "windows";
    case MasterBootCodeKind::OlderWindows: return "olderWindows";
    case MasterBootCodeKind::Grub: return "grub";
    case MasterBootCodeKind::VeraCrypt: return "veraCrypt";
    case MasterBootCodeKind::TrueCrypt: return "trueCrypt";
    case MasterBootCodeKind::Unknown: return "unknown";
    }
    return "unknown";
}

std::string BootSectorWord(BootSectorKind kind) {
    switch (kind) {
    case BootSectorKind::Empty: return "empty";
    case BootSectorKind::Ntfs: return "ntfs";
    case BootSectorKind::Fat12: return "fat12";
    case BootSectorKind::Fat16: return "fat16";
    case BootSectorKind::Fat32: return "fat32";
    case BootSectorKind::ExFat: return "exfat";
    case BootSectorKind::BitLocker: return "bitLocker";
    case BootSectorKind::Other: return "other";
    }
    return "other";
}

// GetDriveType's answers.
std::string DriveTypeWord(std::uint32_t type) {
    static const char* const Words[] = {"unknown", "noRootFolder", "removable", "fixed", "network", "cdrom", "ramDisk"};
    return type < std::size(Words) ? Words[type] : "unknown";
}

JsonValue FirmwareJson(const MachineSurvey& survey) {
    JsonValue firmware;
    firmware.set("mode", FirmwareWord(survey.firmware));
    if (!survey.uefi) return firmware.set("variablesRead", false);
    const UefiBootState& state = *survey.uefi;
    firmware.set("variablesRead", true);
    firmware.set("secureBoot", SecureBootWord(SecureBootStateOf(state)));
    firmware.set("setupMode", OrNull(state.setupMode.value));
    JsonValue order = JsonArray{};
    for (const std::uint16_t number : state.bootOrder.value) order.push(std::uint32_t{number});
    firmware.set("bootOrder", state.bootOrder.error == 0 ? order : JsonValue());
    JsonValue entries = JsonArray{};
    for (const BootEntry& entry : state.entries) {
        JsonValue json;
        json.set("name", BootEntryName(entry.number)).set("readError", entry.option.error);
        if (entry.option.error == 0) {
            json.set("description", entry.option.value.description);
            json.set("active", (entry.option.value.attributes & LoadOptionActive) != 0);
        }
        json.set("inBootOrder", std::find(state.bootOrder.value.begin(), state.bootOrder.value.end(), entry.number) !=
                                    state.bootOrder.value.end());
        entries.push(json);
    }
    return firmware.set("bootEntries", entries);
}

JsonValue SystemPartitionJson(const MachineSurvey& survey, const std::string& letter, bool letterGiven) {
    if (!survey.systemPartition) return {};
    const SystemPartition& esp = *survey.systemPartition;
    JsonValue json;
    json.set("disk", esp.disk).set("partition", esp.partition).set("sizeBytes", esp.size);
    json.set("driveName", letter.empty() ? JsonValue() : JsonValue(letter)).set("letterGiven", letterGiven);
    return json.set("reason", survey.systemPartitionReason == SystemPartitionReason::OnDefaultDisk ? "onDefaultDisk" : "firstNotOnUsb");
}

// The drive letter of a partition, among the drives located on it.
JsonValue DriveNameOf(const MachineSurvey& survey, std::uint32_t disk, std::uint32_t partition) {
    for (const ScannedDrive& drive : survey.scan.drives) {
        if (drive.location && drive.location->disk == disk && drive.location->partition == partition) return drive.name;
    }
    return {};
}

JsonValue PartitionJson(const MachineSurvey& survey, const Disk& disk, const PartitionRecord& record) {
    JsonValue json;
    json.set("number", record.number).set("offsetBytes", record.offset).set("sizeBytes", record.length);
    json.set("systemPartition", record.systemPartition);
    if (record.style == PartitionStyle::Mbr) {
        json.set("type", "0x" + UpperHexDigits(record.mbrType, 2)).set("active", record.active);
    } else {
        json.set("type", GuidText(record.gptType)).set("id", GuidText(record.gptId));
    }
    return json.set("driveName", DriveNameOf(survey, disk.number, record.number));
}

JsonValue DisksJson(const MachineSurvey& survey) {
    JsonValue disks = JsonArray{};
    for (const Disk& disk : survey.disks) {
        JsonValue json;
        json.set("number", disk.number).set("busType", disk.busType).set("style", PartitionStyleWord(disk.layout.style));
        json.set("sectorSize", disk.sectorSize == 0 ? JsonValue() : JsonValue(disk.sectorSize));
        if (disk.layout.style == PartitionStyle::Mbr) {
            json.set("signature", UpperHexDigits(disk.layout.mbrSignature, 8));
            json.set("bootCode", disk.masterBootCode ? JsonValue(BootCodeWord(*disk.masterBootCode)) : JsonValue());
        } else if (disk.layout.style == PartitionStyle::Gpt) {
            json.set("id", GuidText(disk.layout.gptDiskId));
        }
        JsonValue partitions = JsonArray{};
        for (const PartitionRecord& record : disk.layout.partitions) partitions.push(PartitionJson(survey, disk, record));
        disks.push(json.set("partitions", partitions));
    }
    return disks;
}

JsonValue DrivesJson(const MachineSurvey& survey) {
    JsonValue drives = JsonArray{};
    for (const ScannedDrive& drive : survey.scan.drives) {
        JsonValue json;
        json.set("name", drive.name).set("type", DriveTypeWord(drive.type)).set("answered", drive.answered);
        if (drive.type == FixedDriveType) {
            json.set("busType", drive.busType);
            json.set("disk", drive.location ? JsonValue(drive.location->disk) : JsonValue());
            json.set("partition", drive.location ? JsonValue(drive.location->partition) : JsonValue());
            const VolumeEncryption encryption = EncryptionOf(drive);
            json.set("encryption", encryption == VolumeEncryption::None ? "none" : encryption == VolumeEncryption::Locked ? "locked" : "encrypted");
            json.set("bootSector", drive.bootSector ? JsonValue(BootSectorWord(*drive.bootSector)) : JsonValue());
            json.set("holdsWindows", drive.holdsWindows);
        }
        drives.push(json);
    }
    return drives;
}

JsonValue SkippedJson(const MachineSurvey& survey) {
    JsonValue skipped = JsonArrayOf(survey.unansweredDisks, [](const UnansweredDisk& disk) {
        JsonValue json;
        return json.set("kind", "disk").set("number", disk.number).set("model", JsonTextOrNull(disk.model));
    });
    for (const std::string& drive : UnansweredDriveNames(survey.scan)) {
        JsonValue json;
        skipped.push(json.set("kind", "drive").set("name", drive));
    }
    return skipped;
}

JsonValue InstallationsJson(const MachineSurvey& survey, const std::string& defaultInstallation) {
    JsonValue installations = JsonArray{};
    for (const std::string& folder : survey.scan.installations) {
        JsonValue json;
        json.set("folder", folder).set("drive", folder.substr(0, 2));
        const std::optional<PartitionIdentity> identity = InstallationIdentity(survey, folder);
        json.set("partition", identity ? PartitionIdentityJson(*identity) : JsonValue());
        const auto virtualDisk = survey.virtualDisks.find(folder);
        if (virtualDisk != survey.virtualDisks.end()) {
            JsonValue file;
            file.set("path", virtualDisk->second.path.empty() ? JsonValue() : JsonValue(virtualDisk->second.path));
            file.set("host", virtualDisk->second.host ? PartitionIdentityJson(*virtualDisk->second.host) : JsonValue());
            json.set("virtualDisk", file);
        } else {
            json.set("virtualDisk", nullptr);
        }
        installations.push(json.set("default", !defaultInstallation.empty() && folder == defaultInstallation));
    }
    return installations;
}

} // namespace

JsonValue PartitionIdentityJson(const PartitionIdentity& identity) {
    JsonValue json;
    json.set("style", PartitionStyleWord(identity.style));
    if (identity.style == PartitionStyle::Gpt) return json.set("partitionId", GuidText(identity.gptId));
    return json.set("diskSignature", UpperHexDigits(identity.mbrSignature, 8)).set("offsetBytes", identity.mbrOffset);
}

std::string PartitionStyleWord(PartitionStyle style) {
    return style == PartitionStyle::Gpt ? "gpt" : style == PartitionStyle::Mbr ? "mbr" : "raw";
}

std::string FirmwareWord(FirmwareMode mode) {
    return mode == FirmwareMode::Uefi ? "uefi" : mode == FirmwareMode::Bios ? "bios" : "unknown";
}

void AddMachine(JsonValue& document, const MachineSurvey& survey, const std::string& systemPartitionLetter,
                bool letterGiven, const std::string& defaultInstallation) {
    document.set("firmware", FirmwareJson(survey));
    document.set("systemPartition", SystemPartitionJson(survey, systemPartitionLetter, letterGiven));
    document.set("disks", DisksJson(survey));
    document.set("drives", DrivesJson(survey));
    document.set("skipped", SkippedJson(survey));
    document.set("installations", InstallationsJson(survey, defaultInstallation));
}

} // namespace orvanta
