#pragma once
// Where an old BCD store lies beside its place: "bcd.orvanta-old" while the
// tools run (a run cut short leaves it there), then a dated copy such as
// "bcd.orvanta-20261207-153102". A store's transaction logs ("bcd.LOG",
// "bcd.LOG1", "bcd.LOG2") go wherever it goes, under the same name.
#include <array>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace orvanta {

inline constexpr std::array<const char*, 3> StoreLogSuffixes{".LOG", ".LOG1", ".LOG2"};

// The name an old store has while the tools run, beside it.
std::string BackupPathOf(const std::string& storePath);

// The dated copy's path for a time; from the second attempt on, "-2", "-3"...
std::string DatedCopyPathOf(const std::string& storePath, const LocalTime& time, int attempt);

// Of the file names in a store's folder, the dated copies of that store
// (not their logs) to remove so that only the oldest and the two newest
// stay: the oldest is the store from before the program first ran, the
// newest the ones repeated repairs replaced.
std::vector<std::string> DatedCopiesToRemove(const std::vector<std::string>& folderNames,
                                             const std::string& storeName);

} // namespace orvanta
