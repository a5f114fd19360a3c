#pragma once
// Where an old BCD store lies beside its place: "bcd.orvanta-old" while the
// tools run (a run cut short leaves it there), then a kept copy such as
// "bcd.orvanta-0003-20261208-153102-ok". The number orders the copies: each
// new one gets one more than the highest in the folder, so a wrong clock
// can't reorder them. The date is for people. "-ok" says the store in the
// copy passed the check when the copy was made. A store's transaction logs
// ("bcd.LOG", "bcd.LOG1", "bcd.LOG2") go wherever it goes, under the same name.
//
// Names of the earlier form, "bcd.orvanta-20261207-153102[-2]", are still
// kept copies: older than any numbered one, ordered by their date.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/threads/Clock.h"

namespace orvanta {

inline constexpr std::array<const char*, 3> StoreLogSuffixes{".LOG", ".LOG1", ".LOG2"};

// The two stores on a boot partition, below its root; Windows ignores the case.
inline constexpr const char* BiosStorePath = "\\boot\\bcd";
inline constexpr const char* UefiStorePath = "\\EFI\\Microsoft\\Boot\\bcd";
inline constexpr std::array<const char*, 2> StorePaths{BiosStorePath, UefiStorePath};

// The name an old store has while the tools run, beside it.
std::string BackupPathOf(const std::string& storePath);

// One kept copy of a store, as its name tells.
struct KeptCopy {
    std::string name;          // the file name, as listed
    bool numbered = false;     // false: a name of the earlier, dated form
    std::uint32_t number = 0;  // when numbered
    std::string dated;         // when not: "20261207-153102-002", which orders them
    bool passed = false;       // "-ok": the store passed its check when it was copied
    LocalTime time = {};       // the PC's clock when it was copied, as the name says
};

// The copy's name for a number, a time and whether its store passed its check.
std::string KeptCopyName(const std::string& storeName, std::uint32_t number, const LocalTime& time, bool passed);

// A file name read as a kept copy of the store named `storeName` (ignoring
// case); nothing for any other name, its logs included.
std::optional<KeptCopy> ParseKeptCopy(const std::string& fileName, const std::string& storeName);

// Of the file names in a store's folder, its kept copies, oldest first.
std::vector<KeptCopy> KeptCopiesIn(const std::vector<std::string>& folderNames, const std::string& storeName);

// The number for a new copy: one more than the highest in the folder.
std::uint32_t NextCopyNumber(const std::vector<std::string>& folderNames, const std::string& storeName);

// Of the file names in a store's folder, the kept copies (not their logs) to
// remove. Kept are: the first copy made in the folder (the store as it was
// before the program first touched it); while the store in place has failed
// its check, the newest copy whose store passed; and the two newest.
std::vector<std::string> KeptCopiesToRemove(const std::vector<std::string>& folderNames, const std::string& storeName,
                                            bool storeInPlaceFailed);

} // namespace orvanta
