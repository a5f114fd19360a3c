#include "repair/StoreCheck.h"

#include <algorithm>

#include "platform/CaseBlind.h"

namespace orvanta {
namespace {

// The store's Windows loaders for installed systems: those whose system lies
// on a partition, not in a ramdisk (as Windows RE's does).
std::vector<const BcdObject*> InstalledLoaders(const BcdStore& store) {
    std::vector<const BcdObject*> loaders;
    for (const BcdObject& object : store.objects) {
        const std::optional<BcdDevice>& system = object.osDevice ? object.osDevice : object.device;
        if (object.type == WindowsLoaderType && system && system->kind == BcdDeviceKind::Partition) {
            loaders.push_back(&object);
        }
    }
    return loaders;
}

bool Fits(const BcdObject& loader, const CheckedInstallation& installation) {
    if (!SameIgnoringCase(loader.systemRoot, FolderBelowDrive(installation.folder))) return false;
    const std::optional<BcdDevice>& system = loader.osDevice ? loader.osDevice : loader.device;
    return !installation.partition || system->partition == installation.partition;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && SameIgnoringCase(std::string_view(text).substr(text.size() - end.size()), end);
}

// Gives each installation a loader of its own: the default the boot
// manager's default when it fits, then those whose partition is known, then
// the rest by folder. Returns the installations left without one.
std::vector<const CheckedInstallation*> AssignLoaders(const BcdStore& store, const StoreExpectation& expected,
                                                      const BcdObject* defaultLoader) {
    std::vector<const BcdObject*> free = InstalledLoaders(store);
    const auto take = [&](const CheckedInstallation& installation, const BcdObject* preferred) {
        auto found = std::find_if(free.begin(), free.end(), [&](const BcdObject* loader) {
            return (preferred == nullptr || loader == preferred) && Fits(*loader, installation);
        });
        if (found == free.end()) return false;
        free.erase(found);
        return true;
    };
    std::vector<const CheckedInstallation*> order;
    for (const CheckedInstallation& installation : expected.installations) order.push_back(&installation);
    std::reverse(order.begin(), order.end()); // the default first
    std::stable_partition(order.begin() + 1, order.end(), [](const auto* entry) { return entry->partition.has_value(); });
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
    } else if (!Fits(*loader, wanted)) {
        check.findings.push_back({StoreProblem::OtherDefault, wanted.folder, loader->description});
    }
}

} // namespace

std::string FolderBelowDrive(const std::string& installation) {
    return installation.size() > 2 && installation[1] == ':' ? installation.substr(2) : installation;
}

StoreCheck CheckStore(const BcdStoreReading& reading, const StoreExpectation& expected) {
    StoreCheck check;
    check.matchedByFolderOnly = std::any_of(expected.installations.begin(), expected.installations.end(),
                                            [](const CheckedInstallation& entry) { return !entry.partition; });
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
        if (installation->partition) {
            check.findings.push_back({StoreProblem::NoLoader, installation->folder});
        } else {
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
