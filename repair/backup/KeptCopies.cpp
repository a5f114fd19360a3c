#include "repair/backup/KeptCopies.h"

#include <utility>

#include "platform/text/CaseBlind.h"
#include "repair/tools/CommandLines.h"

namespace orvanta {
namespace {

// Names already taken (a file the listing missed) are passed over, a few at most.
constexpr std::uint32_t MostTakenNames = 8;

} // namespace

KeptCopies::KeptCopies(FileSystem& files, std::string storePath, StoreEventSink events)
    : files_(files), storePath_(std::move(storePath)), events_(std::move(events)) {}

std::optional<std::string> KeptCopies::newPath(const LocalTime& time, bool passed) {
    const std::string folder = FolderOf(storePath_);
    const std::optional<std::vector<FolderEntry>> entries = files_.listFolder(folder);
    if (!entries) return std::nullopt;
    std::vector<std::string> names;
    for (const FolderEntry& entry : *entries) names.push_back(entry.name);
    std::uint32_t number = NextCopyNumber(names, FileNameOf(storePath_));
    for (std::uint32_t tried = 0; tried < MostTakenNames; ++tried, ++number) {
        const std::string path = folder + "\\" + KeptCopyName(FileNameOf(storePath_), number, time, passed);
        if (!files_.fileAttributes(path)) return path;
    }
    return std::nullopt;
}

std::string KeptCopies::write(const std::vector<std::uint8_t>& bytes, const LocalTime& time, bool passed) {
    const std::optional<std::string> path = newPath(time, passed);
    if (!path) return {};
    const auto copy = files_.createAppendFile(*path, false);
    if (copy && copy->append({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, true)) return *path;
    if (copy) discard(*path);
    return {};
}

SavedCopy KeptCopies::saveFromRegistry(Registry& registry, const std::string& key, const LocalTime& time, bool passed) {
    const std::optional<std::string> path = newPath(time, passed);
    if (!path) return {};
    const std::uint32_t error = registry.saveKey(key, *path);
    if (error == 0) return {*path};
    if (files_.fileAttributes(*path)) discard(*path);
    return {"", error};
}

void KeptCopies::discard(const std::string& path) {
    const bool removed = files_.removeFile(path);
    events_({removed ? StoreStep::CopyNotWritten : StoreStep::CopyLeftUnfinished, storePath_, std::nullopt, path});
}

void KeptCopies::removeBeyondKept(bool storeInPlaceFailed, const std::string& spared) {
    const std::string folder = FolderOf(storePath_);
    const std::optional<std::vector<FolderEntry>> entries = files_.listFolder(folder);
    if (!entries) return;
    std::vector<std::string> names;
    for (const FolderEntry& entry : *entries) {
        if (!entry.folder) names.push_back(entry.name);
    }
    for (const std::string& name : KeptCopiesToRemove(names, FileNameOf(storePath_), storeInPlaceFailed)) {
        if (SameIgnoringCase(name, spared)) continue;
        const std::string path = folder + "\\" + name;
        if (!files_.removeFile(path)) continue;
        for (const char* suffix : StoreLogSuffixes) {
            if (files_.fileAttributes(path + suffix)) files_.removeFile(path + suffix);
        }
        events_({StoreStep::OldCopyRemoved, storePath_, std::nullopt, path});
    }
}

} // namespace orvanta
