#include "repair/partition/BootFilesRoom.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "platform/text/CaseBlind.h"

namespace orvanta {
namespace {

// What bcdboot copies from <installation>\Boot, and where each folder goes
// on the boot partition (language folders below each come along):
//   PCAT       -> \Boot                             (BIOS; bootmgr and bootnxt go to the root)
//   EFI        -> \EFI\Microsoft\Boot               (UEFI)
//   Fonts      -> \Boot\Fonts, \EFI\Microsoft\Boot\Fonts
//   Resources  -> \Boot\Resources, \EFI\Microsoft\Boot\Resources
// and EFI\bootmgfw.efi once more as \EFI\Boot\boot<architecture>.efi, counted
// in full at the largest any installation has: its name depends on the
// installation's architecture.
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
constexpr const char* FallbackFolder = "EFI\\Boot";
constexpr const char* StorePaths[] = {"Boot\\BCD", "EFI\\Microsoft\\Boot\\BCD"};

// Language folders lie one level below; anything deeper is not what bcdboot
// copies. At most this many folders are listed per installation.
constexpr std::size_t DeepestLevel = 3;
constexpr std::size_t MostFolders = 1024;

std::string Upper(const std::string& text) {
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(), AsciiUpper);
    return upper;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

class Measure {
public:
    Measure(FileSystem& files, std::string bootPartition, std::uint64_t clusterBytes)
        : files_(files), boot_(std::move(bootPartition)), cluster_(std::max<std::uint64_t>(clusterBytes, 1)) {}

    // Takes in the files one installation's runs leave.
    void add(const std::string& installation) {
        foldersLeft_ = MostFolders;
        for (const FolderCopy& copy : FolderCopies) {
            std::vector<std::string> targets;
            for (const std::string& target : copy.targets) targets.push_back(boot_ + "\\" + target);
            walk(installation + "\\Boot\\" + copy.source, targets, copy.kind, 0);
        }
    }

    // What all the runs together add to the boot partition.
    std::uint64_t neededBytes() {
        std::uint64_t total = 0;
        std::map<std::string, std::string> folders; // by the upper-case path
        for (const auto& [key, file] : largest_) {
            const std::uint64_t added = clusters(file.size);
            const std::uint64_t replaced = clusters(existingSize(file.path));
            total += added > replaced ? added - replaced : 0;
            folders.emplace(Upper(FolderOf(file.path)), FolderOf(file.path));
        }
        if (fallback_ > 0) {
            total += clusters(fallback_);
            folders.emplace(Upper(boot_ + "\\" + FallbackFolder), boot_ + "\\" + FallbackFolder);
        }
        for (const char* store : StorePaths) {
            const std::string path = boot_ + "\\" + store;
            const std::uint64_t old = existingSize(path);
            total += clusters(std::max(old, NewStoreBytes)) + 2 * clusters(StoreLogBytes) + clusters(old);
            folders.emplace(Upper(FolderOf(path)), FolderOf(path));
        }
        return total + cluster_ * foldersMade(folders);
    }

private:
    struct Copied {
        std::string path; // as first met
        std::uint64_t size = 0;
    };
    using Listing = std::optional<std::map<std::string, std::uint64_t>>; // file sizes by upper-case name

    std::uint64_t clusters(std::uint64_t bytes) const { return (bytes + cluster_ - 1) / cluster_ * cluster_; }

    void keep(const std::string& path, std::uint64_t size) {
        Copied& copied = largest_.try_emplace(Upper(path), Copied{path, 0}).first->second;
        copied.size = std::max(copied.size, size);
    }

    // The files below a source folder, to each of its target folders.
    void walk(const std::string& source, const std::vector<std::string>& targets, CopyKind kind, std::size_t level) {
        if (level > DeepestLevel || foldersLeft_ == 0) return;
        --foldersLeft_;
        const std::optional<std::vector<FolderEntry>> entries = files_.listFolder(source);
        if (!entries) return;
        for (const FolderEntry& entry : *entries) {
            if (entry.folder) {
                std::vector<std::string> below;
                for (const std::string& target : targets) below.push_back(target + "\\" + entry.name);
                walk(source + "\\" + entry.name, below, kind, level + 1);
                continue;
            }
            const std::string name = Upper(entry.name);
            if (kind == CopyKind::Efi && level == 0 && name == Upper(BootManagerFile)) {
                fallback_ = std::max(fallback_, entry.size);
            }
            if (kind == CopyKind::Pcat && level == 0 && (name == "BOOTMGR" || name == "BOOTNXT")) {
                keep(boot_ + "\\" + entry.name, entry.size);
                continue;
            }
            for (const std::string& target : targets) keep(target + "\\" + entry.name, entry.size);
        }
    }

    // A folder of the boot partition as it is now, listed once; nothing when it isn't there.
    const Listing& listing(const std::string& folder) {
        auto found = listings_.find(Upper(folder));
        if (found == listings_.end()) {
            Listing sizes;
            if (const auto entries = files_.listFolder(folder)) {
                sizes.emplace();
                for (const FolderEntry& entry : *entries) {
                    if (!entry.folder) (*sizes)[Upper(entry.name)] = entry.size;
                }
            }
            found = listings_.emplace(Upper(folder), std::move(sizes)).first;
        }
        return found->second;
    }

    // The size of the file at a path of the boot partition, 0 when there is none.
    std::uint64_t existingSize(const std::string& path) {
        const Listing& sizes = listing(FolderOf(path));
        if (!sizes) return 0;
        const auto file = sizes->find(Upper(path.substr(path.find_last_of('\\') + 1)));
        return file == sizes->end() ? 0 : file->second;
    }

    // How many of these folders and their parents the runs make.
    std::size_t foldersMade(const std::map<std::string, std::string>& folders) {
        std::set<std::string> made;
        for (const auto& [key, path] : folders) {
            std::string folder = path;
            while (folder.size() > boot_.size() && !made.contains(Upper(folder)) && !listing(folder)) {
                made.insert(Upper(folder));
                folder = FolderOf(folder);
            }
        }
        return made.size();
    }

    FileSystem& files_;
    std::string boot_;
    std::uint64_t cluster_;
    std::map<std::string, Copied> largest_; // by the upper-case target path
    std::map<std::string, Listing> listings_; // by the upper-case folder
    std::size_t foldersLeft_ = MostFolders;
    std::uint64_t fallback_ = 0; // the boot manager's second copy, to \EFI\Boot
};

} // namespace

std::optional<BootFilesRoom> MeasureBootFilesRoom(FileSystem& files, const std::string& bootPartition,
                                                  const std::vector<std::string>& installations) {
    const std::optional<std::uint64_t> free = files.freeBytes(bootPartition);
    if (!free) return std::nullopt;
    Measure measure(files, bootPartition, files.clusterBytes(bootPartition).value_or(DefaultClusterBytes));
    for (const std::string& installation : installations) measure.add(installation);
    return BootFilesRoom{*free, measure.neededBytes()};
}

} // namespace orvanta
