#include "repair/StoreBackup.h"

#include <utility>

#include "repair/CommandLines.h"

namespace orvanta {
namespace {

constexpr int MostCopiesPerSecond = 9;

} // namespace

StoreBackup::StoreBackup(FileSystem& files, Registry& registry, std::string storePath, StoreEventSink events)
    : files_(files), registry_(registry), storePath_(std::move(storePath)), events_(std::move(events)) {}

StoreBackup::~StoreBackup() {
    try {
        if (moved_) moveWithLogs(BackupPathOf(storePath_), storePath_, false);
    } catch (...) {
        // A destructor must not throw; the backup stays beside the store.
    }
}

void StoreBackup::record(StoreStep step, std::optional<FileAttributes> attributes, std::string detail) {
    events_({step, storePath_, attributes, std::move(detail)});
}

bool StoreBackup::moveWithLogs(const std::string& from, const std::string& to, bool replace) {
    if (!(replace ? files_.replaceFile(from, to) : files_.moveFile(from, to))) return false;
    for (const char* suffix : StoreLogSuffixes) {
        if (replace && files_.fileAttributes(to + suffix)) files_.removeFile(to + suffix);
        if (files_.fileAttributes(from + suffix)) files_.moveFile(from + suffix, to + suffix);
    }
    return true;
}

std::string StoreBackup::freeDatedPath() {
    for (int attempt = 1; attempt < MostCopiesPerSecond; ++attempt) {
        const std::string path = DatedCopyPathOf(storePath_, time_, attempt);
        if (!files_.fileAttributes(path)) return path;
    }
    return DatedCopyPathOf(storePath_, time_, MostCopiesPerSecond);
}

std::optional<BcdStoreReading> StoreBackup::prepare(const LocalTime& time) {
    time_ = time;
    const std::string backup = BackupPathOf(storePath_);
    std::optional<FileAttributes> store = files_.fileAttributes(storePath_);
    const std::optional<FileAttributes> left = files_.fileAttributes(backup);
    if (left && !store && moveWithLogs(backup, storePath_, false)) {
        record(StoreStep::BackupPutBack, left);
        store = left;
    } else if (left && store) {
        const std::string dated = freeDatedPath();
        if (moveWithLogs(backup, dated, false)) record(StoreStep::LeftoverKept, left, dated);
    }
    if (!store) return std::nullopt;
    const FileRead read = files_.readFile(storePath_, LargestStore);
    if (read.status == FileReadStatus::HeldOpen) {
        inPlace_ = true;
        const std::string dated = freeDatedPath();
        const bool saved = registry_.saveKey(SystemStoreKey, dated);
        if (saved) keptAt_ = dated;
        record(saved ? StoreStep::SavedFromRegistry : StoreStep::CouldNotSave, store, saved ? dated : "");
        if (saved) removeOldCopies();
        return readNow();
    }
    BcdStoreReading before = read.status == FileReadStatus::Read ? ReadBcdStore(read.bytes)
                                                                 : BcdStoreReading{std::nullopt, StoreFault::Damaged};
    moved_ = moveWithLogs(storePath_, backup, false);
    if (moved_) {
        record(StoreStep::MovedAside, store, backup);
    } else {
        inPlace_ = true;
        if (read.status == FileReadStatus::Read) keepCopyOf(read.bytes);
        record(StoreStep::CouldNotMove, store, keptAt_);
        if (!keptAt_.empty()) removeOldCopies();
    }
    return before;
}

// A store that can't be renamed is copied byte for byte, as it was read.
void StoreBackup::keepCopyOf(const std::vector<std::uint8_t>& bytes) {
    const std::string dated = freeDatedPath();
    const auto copy = files_.createAppendFile(dated, false);
    if (copy && copy->append({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, true)) keptAt_ = dated;
}

std::optional<BcdStoreReading> ReadStoreAt(FileSystem& files, Registry& registry, const std::string& path) {
    const FileRead read = files.readFile(path, LargestStore);
    switch (read.status) {
    case FileReadStatus::Missing: return std::nullopt;
    case FileReadStatus::Read: return ReadBcdStore(read.bytes);
    case FileReadStatus::HeldOpen: {
        const std::optional<RegistryKey> loaded = registry.readTree(SystemStoreKey);
        return loaded ? BcdStoreOf(*loaded) : BcdStoreReading{std::nullopt, StoreFault::Damaged};
    }
    default: return BcdStoreReading{std::nullopt, StoreFault::Damaged};
    }
}

BcdStoreReading StoreBackup::readNow() {
    return ReadStoreAt(files_, registry_, storePath_).value_or(BcdStoreReading{std::nullopt, StoreFault::Damaged});
}

void StoreBackup::settle(bool keepNew) {
    if (!moved_) return;
    if (!keepNew) {
        putBack(StoreStep::PutBack);
        return;
    }
    moved_ = false;
    const std::string dated = freeDatedPath();
    if (moveWithLogs(BackupPathOf(storePath_), dated, false)) {
        keptAt_ = dated;
        record(StoreStep::KeptAs, std::nullopt, dated);
        removeOldCopies();
    } else {
        keptAt_ = BackupPathOf(storePath_);
        record(StoreStep::BackupLeftBeside, std::nullopt, keptAt_);
    }
}

bool StoreBackup::restoreOriginal() {
    return !moved_ || putBack(StoreStep::Restored);
}

bool StoreBackup::putBack(StoreStep done) {
    moved_ = false;
    const std::string backup = BackupPathOf(storePath_);
    // Over what the tools wrote, when they wrote anything.
    const bool back = moveWithLogs(backup, storePath_, files_.fileAttributes(storePath_).has_value());
    keptAt_ = back ? "" : backup;
    record(back ? done : StoreStep::BackupLeftBeside, std::nullopt, keptAt_);
    return back;
}

void StoreBackup::removeOldCopies() {
    const std::string folder = FolderOf(storePath_);
    const std::optional<std::vector<FolderEntry>> entries = files_.listFolder(folder);
    if (!entries) return;
    std::vector<std::string> names;
    for (const FolderEntry& entry : *entries) {
        if (!entry.folder) names.push_back(entry.name);
    }
    for (const std::string& name : DatedCopiesToRemove(names, FileNameOf(storePath_))) {
        const std::string path = folder + "\\" + name;
        if (!files_.removeFile(path)) continue;
        for (const char* suffix : StoreLogSuffixes) {
            if (files_.fileAttributes(path + suffix)) files_.removeFile(path + suffix);
        }
        record(StoreStep::OldCopyRemoved, std::nullopt, path);
    }
}

} // namespace orvanta
