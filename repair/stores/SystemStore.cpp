#include "repair/stores/SystemStore.h"

#include "platform/text/CaseBlind.h"

namespace orvanta {

std::optional<std::string> SystemStoreFile(Registry& registry) {
    std::optional<std::string> file = registry.readText(HiveListKey, SystemStoreHiveName);
    if (file && file->empty()) return std::nullopt;
    return file;
}

bool IsSystemStore(const std::string& storePath, const std::optional<std::string>& systemStoreFile, Drives& drives) {
    if (!systemStoreFile || storePath.size() < 3 || storePath[1] != ':' || storePath[2] != '\\') return false;
    const std::string belowDrive = storePath.substr(2);
    for (const std::string& device : drives.deviceNamesOf(storePath.substr(0, 2))) {
        if (!device.empty() && SameIgnoringCase(device + belowDrive, *systemStoreFile)) return true;
    }
    return false;
}

} // namespace orvanta
