#pragma once
// The kept copies as /restore lists them: per store, each copy's path on the
// partition, what its name says, and on one line its default and loaders.
#include <string>
#include <vector>

#include "app/texts/LogLines.h"
#include "repair/restore/KeptCopyListing.h"

namespace orvanta {

// An entry of a kept store on one line: "“Windows 10”（D:\Windows）", or,
// for a loader of no installation found here, its system's device and folder.
std::string ListedEntryText(const ListedEntry& entry);

// `restoreCommand`: "Orvanta.exe /restore", with /s when it is needed.
LogLines KeptCopyLines(const std::string& bootPartition, const std::vector<StoreCopies>& stores,
                       const std::string& restoreCommand);

} // namespace orvanta
