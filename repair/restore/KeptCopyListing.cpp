#include "repair/restore/KeptCopyListing.h"

#include "repair/tools/CommandLines.h"
#include "repair/restore/KeptStoreCheck.h"
#include "repair/backup/StoreBackup.h"

namespace orvanta {
namespace {

ListedEntry Listed(const BcdObject& entry, const std::vector<CheckedInstallation>& found) {
    return {entry, entry.type == WindowsLoaderType ? InstallationStartedBy(entry, found) : ""};
}

ListedCopy ReadCopy(FileSystem& files, const std::string& bootPartition, const std::string& folder, KeptCopy copy,
                    const std::vector<CheckedInstallation>& found) {
    ListedCopy listed{folder + "\\" + copy.name, std::move(copy)};
    const FileRead read = files.readFile(bootPartition + listed.path, LargestStore);
    const BcdStoreReading reading = StoreReadingOf(read);
    listed.fault = reading.fault;
    if (!reading.store) return listed;
    const BcdObject* manager = reading.store->bootManager();
    listed.bootManager = manager != nullptr;
    if (const BcdObject* entry = manager != nullptr ? reading.store->find(manager->defaultEntry) : nullptr) {
        listed.defaultEntry = Listed(*entry, found);
    }
    for (const BcdObject* loader : InstalledLoaders(*reading.store)) listed.loaders.push_back(Listed(*loader, found));
    return listed;
}

} // namespace

std::vector<StoreCopies> ListKeptCopies(FileSystem& files, const std::string& bootPartition,
                                        const std::vector<CheckedInstallation>& found) {
    std::vector<StoreCopies> stores;
    for (const char* store : StorePaths) {
        StoreCopies& copies = stores.emplace_back(StoreCopies{store});
        const std::string folder = FolderOf(store);
        const std::optional<std::vector<FolderEntry>> entries = files.listFolder(bootPartition + folder);
        if (!entries) continue;
        copies.listed = true;
        std::vector<std::string> names;
        for (const FolderEntry& entry : *entries) {
            if (!entry.folder) names.push_back(entry.name);
        }
        for (KeptCopy& copy : KeptCopiesIn(names, FileNameOf(store))) {
            copies.copies.push_back(ReadCopy(files, bootPartition, folder, std::move(copy), found));
        }
    }
    return stores;
}

} // namespace orvanta
