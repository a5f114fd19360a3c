#include "repair/restore/CopyPath.h"

#include "platform/text/CaseBlind.h"
#include "repair/partition/BootPartition.h"
#include "repair/tools/CommandLines.h"

namespace orvanta {

CopyPathReading ReadCopyPath(const std::string& text) {
    const bool lettered = text.size() >= 2 && IsDriveLetterAndColon(text.substr(0, 2));
    const std::string below = lettered ? text.substr(2) : text;
    const std::size_t slash = below.find_last_of('\\');
    if (slash == std::string::npos) return {std::nullopt, CopyPathFault::OutsideStoreFolders};
    const std::string folder = below.substr(0, slash);
    const std::string name = below.substr(slash + 1);
    for (const char* store : StorePaths) {
        if (!SameIgnoringCase(folder, FolderOf(store))) continue;
        std::optional<KeptCopy> copy = ParseKeptCopy(name, FileNameOf(store));
        if (!copy) return {std::nullopt, CopyPathFault::NotAKeptCopy};
        return {CopyPath{lettered ? text.substr(0, 2) : "", store, std::move(*copy)}, CopyPathFault::None};
    }
    return {std::nullopt, CopyPathFault::OutsideStoreFolders};
}

std::string PathOnPartition(const CopyPath& path) {
    return FolderOf(path.storePath) + "\\" + path.copy.name;
}

} // namespace orvanta
