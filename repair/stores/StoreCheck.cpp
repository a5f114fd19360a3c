#include "repair/stores/StoreCheck.h"

#include <algorithm>

#include "platform/text/CaseBlind.h"

namespace orvanta {
namespace {

const BcdDevice* SystemOf(const BcdObject& loader) {
    const std::optional<BcdDevice>& system = loader.osDevice ? loader.osDevice : loader.device;
    return system ? &*system : nullptr;
}

bool IsUnmatchedVirtualDisk(const CheckedInstallation& installation) {
    return installation.virtualDisk && installation.virtualDisk->path.empty();
}

// A virtual disk's file lies where its partition says; a loader that finds it
// by searching (locate) or on the boot device names it by its path alone.
bool IsInVirtualDisk(const BcdDevice& system, const VirtualDiskFile& file) {
    if (system.kind != BcdDeviceKind::Vhd || !SameIgnoringCase(system.file, file.path)) return false;
    return system.fileOn != BcdDeviceKind::Partition || !file.host || system.partition == file.host;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && SameIgnoringCase(std::string_view(text).substr(text.size() - end.size()), end);
}

// Gives each installation a loader of its own: the default the boot
// manager's default when it fits, then those whose place is known, then
// the rest by folder. Returns the installations left without one.
std::vector<const CheckedInstallation*> AssignLoaders(const BcdStore& store, const StoreExpectation& expected,
                                                      const BcdObject* defaultLoader) {
    std::vector<const BcdObject*> free = InstalledLoaders(store);
    const auto take = [&](const CheckedInstallation& installation, const BcdObject* preferred) {
        auto found = std::find_if(free.begin(), free.end(), [&](const BcdObject* loader) {
            return (preferred == nullptr || loader == preferred) && LoaderFits(*loader, installation);
        });
        if (found == free.end()) return false;
        free.erase(found);
        return true;
    };
    std::vector<const CheckedInstallation*> order;
    for (const CheckedInstallation& installation : expected.installations) order.push_back(&installation);
    if (order.empty()) return {};
    std::reverse(order.begin(), order.end()); // the default first
    std::stable_partition(order.begin() + 1, order.end(), [](const auto* entry) { return IsPlaced(*entry); });
    std::vector<const CheckedInstallation*> without;
    for (const CheckedInstallation* installation : order) {
        const bool isDefault = installation == order.front();
        if (!(isDefault && defaultLoader != nullptr && take(*installation, defaultLoader)) && !take(*installation, nullptr)) {
            without.push_back(installation);
        }
    }
    return without;
}

void CheckDefault(const BcdStore& store, const StoreExpectation& expected, StoreCheck& check) {
    const BcdObject* manager = store.bootManager();
    if (manager == nullptr) {
        check.findings.push_back({StoreProblem::NoBootManager});
        return;
    }
    if (expected.installations.empty()) return;
    const CheckedInstallation& wanted = expected.installations.back();
    const BcdObject* loader = store.find(manager->defaultEntry);
    const auto installed = InstalledLoaders(store);
    if (loader == nullptr || std::find(installed.begin(), installed.end(), loader) == installed.end()) {
        check.findings.push_back({StoreProblem::NoDefault, wanted.folder});
    } else if (!LoaderFits(*loader, wanted)) {
        check.findings.push_back({StoreProblem::OtherDefault, wanted.folder, loader->description});
    }
}

} // namespace

std::vector<CheckedInstallation> CheckedInstallationsOf(const std::vector<std::string>& folders,
                                                        const std::map<std::string, PartitionIdentity>& partitions,
                                                        const std::map<std::string, VirtualDiskFile>& virtualDisks) {
    std::vector<CheckedInstallation> installations;
    for (const std::string& folder : folders) {
        const auto partition = partitions.find(folder);
        const auto virtualDisk = virtualDisks.find(folder);
        installations.push_back(
            {folder, partition == partitions.end() ? std::nullopt : std::optional(partition->second),
             virtualDisk == virtualDisks.end() ? std::nullopt : std::optional(virtualDisk->second)});
    }
    return installations;
}

bool IsPlaced(const CheckedInstallation& installation) {
    return installation.virtualDisk ? !IsUnmatchedVirtualDisk(installation) : installation.partition.has_value();
}

std::vector<const BcdObject*> InstalledLoaders(const BcdStore& store) {
    std::vector<const BcdObject*> loaders;
    for (const BcdObject& object : store.objects) {
        const BcdDevice* system = SystemOf(object);
        if (object.type == WindowsLoaderType && system != nullptr &&
            (system->kind == BcdDeviceKind::Partition || system->kind == BcdDeviceKind::Vhd)) {
            loaders.push_back(&object);
        }
    }
    return loaders;
}

bool LoaderFits(const BcdObject& loader, const CheckedInstallation& installation) {
    const BcdDevice* system = SystemOf(loader);
    if (system == nullptr || !SameIgnoringCase(loader.systemRoot, FolderBelowDrive(installation.folder))) return false;
    if (!IsPlaced(installation)) return true;
    if (installation.virtualDisk) return IsInVirtualDisk(*system, *installation.virtualDisk);
    return system->kind == BcdDeviceKind::Partition && system->partition == installation.partition;
}

std::string FolderBelowDrive(const std::string& installation) {
    return installation.size() > 2 && installation[1] == ':' ? installation.substr(2) : installation;
}

StoreCheck CheckStore(const BcdStoreReading& reading, const StoreExpectation& expected) {
    StoreCheck check;
    check.matchedByFolderOnly = std::any_of(expected.installations.begin(), expected.installations.end(),
                                            [](const CheckedInstallation& entry) {
                                                return !entry.partition && !entry.virtualDisk;
                                            });
    for (const CheckedInstallation& installation : expected.installations) {
        if (IsUnmatchedVirtualDisk(installation)) check.unmatchedVirtualDisks.push_back(installation.folder);
    }
    if (!reading.store) {
        check.findings.push_back({StoreProblem::Unreadable});
        return check;
    }
    const BcdStore& store = *reading.store;
    CheckDefault(store, expected, check);
    const BcdObject* manager = store.bootManager();
    const BcdObject* defaultLoader = manager != nullptr ? store.find(manager->defaultEntry) : nullptr;
    const auto without = AssignLoaders(store, expected, defaultLoader);
    std::size_t unknownWithout = 0;
    for (const CheckedInstallation* installation : without) {
        if (IsPlaced(*installation)) {
            check.findings.push_back({StoreProblem::NoLoader, installation->folder});
        } else if (!IsUnmatchedVirtualDisk(*installation)) {
            ++unknownWithout;
        }
    }
    if (unknownWithout > 0) {
        const std::size_t expectedCount = expected.installations.size();
        check.findings.push_back({.problem = StoreProblem::TooFewLoaders,
                                  .found = expectedCount - without.size(),
                                  .expected = expectedCount});
    }
    const std::string program = expected.firmware == StoreFirmware::Uefi ? "\\winload.efi" : "\\winload.exe";
    for (const BcdObject& object : store.objects) {
        if (object.type == WindowsLoaderType && !EndsWithIgnoringCase(object.path, program)) {
            check.findings.push_back({.problem = StoreProblem::WrongProgram, .entry = object.description,
                                      .detail = object.path});
        }
    }
    return check;
}

} // namespace orvanta
