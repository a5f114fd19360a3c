#include "repair/uefi/FirmwareBootEntry.h"

#include <algorithm>
#include <tuple>

#include "discovery/signatures/PeImage.h"
#include "repair/uefi/BootManagerLoadOption.h"

namespace orvanta {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    const auto lower = [](char letter) { return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

bool NamesEsp(const HardDriveNode& drive, const EspIdentity& esp) {
    if (drive.signatureType == GuidSignatureType) return esp.gptPartition == drive.signature;
    return drive.signatureType == MbrSignatureType && esp.mbrDiskSignature == drive.mbrDiskSignature() &&
           drive.startLba == esp.startLba;
}

bool ReadWhole(const BootEntry& entry) {
    return entry.option.error == 0 && entry.option.value.fault == LoadOptionFault::None;
}

// A hard-drive node naming the ESP, then file-path nodes that together are the boot manager's path.
bool StartsWindowsBootManager(const BootEntry& entry, const EspIdentity& esp) {
    if (!ReadWhole(entry)) return false;
    const std::vector<DevicePathNode>& path = entry.option.value.path;
    const auto drive = std::find_if(path.begin(), path.end(), [&](const DevicePathNode& node) {
        return node.hardDrive && NamesEsp(*node.hardDrive, esp);
    });
    if (drive == path.end()) return false;
    std::string file;
    for (auto node = drive + 1; node != path.end() && node->filePath; ++node) file += *node->filePath;
    return SameLetters(file, WindowsBootManagerPath);
}

std::size_t PositionOf(const std::vector<std::uint16_t>& bootOrder, std::uint16_t number) {
    const auto found = std::find(bootOrder.begin(), bootOrder.end(), number);
    return found == bootOrder.end() ? 0 : static_cast<std::size_t>(found - bootOrder.begin()) + 1;
}

const BootEntry* EntryNumbered(const std::vector<BootEntry>& entries, std::uint16_t number) {
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const BootEntry& entry) { return entry.number == number; });
    return found == entries.end() ? nullptr : &*found;
}

bool IsActive(const BootEntry& entry) {
    return (entry.option.value.attributes & LoadOptionActive) != 0;
}

} // namespace

BootEntryFinding FindWindowsBootEntry(const std::vector<BootEntry>& entries, const std::vector<std::uint16_t>& bootOrder,
                                      const EspIdentity& esp) {
    // Active before inactive, in BootOrder before not, then earlier in it.
    const auto rank = [&](const BootEntry& entry) {
        const std::size_t position = PositionOf(bootOrder, entry.number);
        return std::tuple{!IsActive(entry), position == 0, position};
    };
    BootEntryFinding finding;
    const BootEntry* chosen = nullptr;
    for (const BootEntry& entry : entries) {
        if (StartsWindowsBootManager(entry, esp) && (chosen == nullptr || rank(entry) < rank(*chosen))) chosen = &entry;
    }
    if (chosen == nullptr) return finding;
    finding.entry = chosen->number;
    finding.position = PositionOf(bootOrder, chosen->number);
    if (!IsActive(*chosen)) {
        finding.place = BootEntryPlace::Inactive;
    } else if (finding.position == 0) {
        finding.place = BootEntryPlace::NotInBootOrder;
    } else {
        finding.place = BootEntryPlace::First;
        for (std::size_t index = 0; index + 1 < finding.position; ++index) {
            const BootEntry* before = EntryNumbered(entries, bootOrder[index]);
            if (before == nullptr || !ReadWhole(*before) || !IsActive(*before)) continue;
            finding.place = BootEntryPlace::BehindAnother;
            finding.ahead = before->number;
            finding.aheadDescription = before->option.value.description;
            break;
        }
    }
    return finding;
}

std::optional<HardDriveNode> HardDriveNodeOf(const EspIdentity& esp) {
    if (esp.sizeLba == 0 || esp.partitionNumber == 0) return std::nullopt;
    if (esp.gptPartition) return GptPartitionNode(esp.partitionNumber, esp.startLba, esp.sizeLba, *esp.gptPartition);
    if (esp.mbrDiskSignature) return MbrPartitionNode(esp.partitionNumber, esp.startLba, esp.sizeLba, *esp.mbrDiskSignature);
    return std::nullopt;
}

std::optional<BootArchitecture> BootArchitectureOfMachine(std::uint16_t machine) {
    switch (machine) {
    case I386Machine: return BootArchitecture::X86;
    case Amd64Machine: return BootArchitecture::X64;
    case Arm64Machine: return BootArchitecture::Arm64;
    default: return std::nullopt;
    }
}

std::string FallbackBootPath(BootArchitecture architecture) {
    switch (architecture) {
    case BootArchitecture::X86: return "\\EFI\\Boot\\bootia32.efi";
    case BootArchitecture::Arm64: return "\\EFI\\Boot\\bootaa64.efi";
    case BootArchitecture::X64: break;
    }
    return "\\EFI\\Boot\\bootx64.efi";
}

} // namespace orvanta
