#pragma once
// The kept copies of one BCD store, beside it in its folder: naming a new
// one, writing one, saving the running system's store to one, and removing
// those beyond what a folder keeps (see StoreNames.h for the rules). A copy
// that could not be written whole is removed again, so that it never counts.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/threads/Clock.h"
#include "platform/files/FileSystem.h"
#include "platform/system/Registry.h"
#include "repair/stores/StoreEvents.h"
#include "repair/stores/StoreNames.h"

namespace orvanta {

// What saving a store to a copy gave: the copy's path, or why there is none.
struct SavedCopy {
    std::string path;        // "" when there is no copy
    std::uint32_t error = 0; // the system's error; 0 with no path: the folder could not be listed
};

class KeptCopies {
public:
    KeptCopies(FileSystem& files, std::string storePath, StoreEventSink events);

    // The path of a new copy: numbered one more than the highest in the
    // folder, dated `time`, marked when its store passed its check. Nothing
    // when the folder can't be listed: the number can't be known.
    std::optional<std::string> newPath(const LocalTime& time, bool passed);

    // The bytes of the store in place, written to a new copy; its path, "" when none was made.
    std::string write(const std::vector<std::uint8_t>& bytes, const LocalTime& time, bool passed);

    // The registry's loaded store `key` (the running system's), saved to a new copy.
    SavedCopy saveFromRegistry(Registry& registry, const std::string& key, const LocalTime& time, bool passed);

    // Removes, with their logs, the copies a folder doesn't keep; nothing when
    // the folder can't be listed. The copy named `spared` stays whatever the rules say.
    void removeBeyondKept(bool storeInPlaceFailed, const std::string& spared = {});

private:
    // A copy that failed: what was written of it goes.
    void discard(const std::string& path);

    FileSystem& files_;
    std::string storePath_;
    StoreEventSink events_;
};

} // namespace orvanta
