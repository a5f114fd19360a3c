#include "repair/restore/KeptStoreCheck.h"

#include <algorithm>

namespace orvanta {
namespace {

// The boot manager's default, when it is a loader of an installed system.
const BcdObject* DefaultLoader(const BcdStore& store) {
    const BcdObject* manager = store.bootManager();
    const BcdObject* entry = manager != nullptr ? store.find(manager->defaultEntry) : nullptr;
    const std::vector<const BcdObject*> installed = InstalledLoaders(store);
    return std::find(installed.begin(), installed.end(), entry) != installed.end() ? entry : nullptr;
}

} // namespace

StoreCheck CheckKeptStore(const BcdStoreReading& reading, StoreFirmware firmware,
                          const std::vector<CheckedInstallation>& found) {
    // Without installations to expect: whether it reads, has a boot manager and fitting programs.
    StoreCheck check = CheckStore(reading, {firmware, {}});
    for (const CheckedInstallation& installation : found) {
        if (!installation.partition && !installation.virtualDisk) check.matchedByFolderOnly = true;
        if (installation.virtualDisk && installation.virtualDisk->path.empty()) {
            check.unmatchedVirtualDisks.push_back(installation.folder);
        }
    }
    if (!reading.store || reading.store->bootManager() == nullptr) return check;
    const BcdObject* loader = DefaultLoader(*reading.store);
    if (loader == nullptr) {
        check.findings.insert(check.findings.begin(), {StoreProblem::NoDefault});
    } else if (!found.empty() && std::none_of(found.begin(), found.end(), [&](const CheckedInstallation& installation) {
                   return LoaderFits(*loader, installation);
               })) {
        check.findings.insert(check.findings.begin(), {.problem = StoreProblem::DefaultNotHere, .entry = loader->description});
    }
    return check;
}

std::string InstallationStartedBy(const BcdObject& loader, const std::vector<CheckedInstallation>& found) {
    for (const CheckedInstallation& installation : found) {
        if (IsPlaced(installation) && LoaderFits(loader, installation)) return installation.folder;
    }
    return {};
}

std::vector<std::string> InstallationsWithoutLoader(const BcdStore& store, const std::vector<CheckedInstallation>& found) {
    const std::vector<const BcdObject*> loaders = InstalledLoaders(store);
    std::vector<std::string> without;
    for (const CheckedInstallation& installation : found) {
        const bool started = std::any_of(loaders.begin(), loaders.end(), [&](const BcdObject* loader) {
            return LoaderFits(*loader, installation);
        });
        if (!started) without.push_back(installation.folder);
    }
    return without;
}

} // namespace orvanta
