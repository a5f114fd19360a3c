#include "repair/BootFilesRoom.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/CaseBlind.h"

namespace orvanta {
namespace {

// What bcdboot copies from <installation>\Boot, and where each folder goes
// on the boot partition (language folders below each come along):
//   PCAT       -> \Boot                             (BIOS; bootmgr and bootnxt go to the root)
//   EFI        -> \EFI\Microsoft\Boot               (UEFI)
//   Fonts      -> \Boot\Fonts, \EFI\Microsoft\Boot\Fonts
//   Resources  -> \Boot\Resources, \EFI\Microsoft\Boot\Resources
// and EFI\bootmgfw.efi once more as \EFI\Boot\boot<architecture>.efi, counted
// in full: its name depends on the installation's architecture.
enum class CopyKind { Plain, Pcat, Efi };

struct FolderCopy {
    const char* source;
    std::vector<std::string> targets;
    CopyKind kind;
};

const FolderCopy FolderCopies[] = {
    {"PCAT", {"Boot"}, CopyKind::Pcat},
    {"EFI", {"EFI\\Microsoft\\Boot"}, CopyKind::Efi},
    {"Fonts", {"Boot\\Fonts", "EFI\\Microsoft\\Boot\\Fonts"}, CopyKind::Plain},
    {"Resources", {"Boot\\Resources", "EFI\\Microsoft\\Boot\\Resources"}, CopyKind::Plain},
};
constexpr const char* BootManagerFile = "bootmgfw.efi";

// Language folders lie one level below; anything deeper than this is not
// what bcdboot copies. At most this many folders are listed per installation.
constexpr std::size_t DeepestLevel = 3;
constexpr std::size_t MostFolders = 1024;

std::string Upper(const std::string& text) {
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(), AsciiUpper);
    return upper;
}

std::uint64_t InUnits(std::uint64_t bytes) {
    return (bytes + AllocationUnitBytes - 1) / AllocationUnitBytes * AllocationUnitBytes;
}

class Measure {
public:
    Measure(FileSystem& files, std::string bootPartition) : files_(files), boot_(std::move(bootPartition)) {}

    // What one installation's runs add to the boot partition.
    std::uint64_t bytesFor(const std::string& installation) {
        foldersLeft_ = MostFolders;
        bootManager_ = 0;
        std::uint64_t total = 0;
        for (const FolderCopy& copy : FolderCopies) {
            std::vector<std::string> targets;
            for (const std::string& target : copy.targets) targets.push_back(boot_ + "\\" + target);
            total += copied(installation + "\\Boot\\" + copy.source, targets, copy.kind, 0);
        }
        return total + bootManager_;
    }

private:
    // The bytes the files below a source folder add to each of its target folders.
    std::uint64_t copied(const std::string& source, const std::vector<std::string>& targets, CopyKind kind,
                         std::size_t level) {
        if (level > DeepestLevel || foldersLeft_ == 0) return 0;
        --foldersLeft_;
        const std::optional<std::vector<FolderEntry>> entries = files_.listFolder(source);
        if (!entries) return 0;
        std::uint64_t total = 0;
        for (const FolderEntry& entry : *entries) {
            if (entry.folder) {
                std::vector<std::string> below;
                for (const std::string& target : targets) below.push_back(target + "\\" + entry.name);
                total += copied(source + "\\" + entry.name, below, kind, level + 1);
                continue;
            }
            const std::string name = Upper(entry.name);
            const bool toRoot = kind == CopyKind::Pcat && level == 0 && (name == "BOOTMGR" || name == "BOOTNXT");
            if (kind == CopyKind::Efi && level == 0 && name == Upper(BootManagerFile)) bootManager_ = InUnits(entry.size);
            for (const std::string& target : targets) {
                const std::uint64_t added = InUnits(entry.size);
                const std::uint64_t replaced = InUnits(existingSize(toRoot ? boot_ : target, name));
                total += added > replaced ? added - replaced : 0;
            }
        }
        return total;
    }

    // The size of the file of that name already in a folder of the boot
    // partition, 0 when there is none; each folder is listed once.
    std::uint64_t existingSize(const std::string& folder, const std::string& upperName) {
        auto listing = existing_.find(Upper(folder));
        if (listing == existing_.end()) {
            std::map<std::string, std::uint64_t> sizes;
            for (const FolderEntry& entry : files_.listFolder(folder).value_or(std::vector<FolderEntry>{})) {
                if (!entry.folder) sizes[Upper(entry.name)] = entry.size;
            }
            listing = existing_.emplace(Upper(folder), std::move(sizes)).first;
        }
        const auto file = listing->second.find(upperName);
        return file == listing->second.end() ? 0 : file->second;
    }

    FileSystem& files_;
    std::string boot_;
    std::map<std::string, std::map<std::string, std::uint64_t>> existing_; // by folder, then by file name
    std::size_t foldersLeft_ = MostFolders;
    std::uint64_t bootManager_ = 0; // the boot manager's second copy, to \EFI\Boot
};

} // namespace

std::optional<BootFilesRoom> MeasureBootFilesRoom(FileSystem& files, const std::string& bootPartition,
                                                  const std::vector<std::string>& installations) {
    const std::optional<std::uint64_t> free = files.freeBytes(bootPartition);
    if (!free) return std::nullopt;
    Measure measure(files, bootPartition);
    std::uint64_t largest = 0;
    for (const std::string& installation : installations) largest = std::max(largest, measure.bytesFor(installation));
    return BootFilesRoom{*free, largest + StoreMarginBytes};
}

} // namespace orvanta
