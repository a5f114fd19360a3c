#pragma once
// What a repair run tells while it goes, for a log that must hold everything
// up to the moment a run is cut short.
#include <string>

#include "platform/files/FileIdentities.h"
#include "repair/backup/StoreBackup.h"
#include "repair/stores/StoreComparison.h"
#include "repair/tools/ToolRunner.h"

namespace orvanta {

class RepairObserver {
public:
    virtual ~RepairObserver() = default;
    // `program` is the file the command line starts, as the system knows it.
    virtual void toolStarting(const std::string& commandLine, const std::string& programPath,
                              const FileIdentity& program) = 0;
    // The tool's process exists and starts up while this runs.
    virtual void toolStarted() = 0;
    virtual void toolFinished(const ToolRun& run) = 0;
    virtual void storeChanged(const StoreEvent& event) = 0;
    // An old store was found and read before the tools run.
    virtual void oldStoreRead(const std::string& path, const StoreListing& listing) = 0;
    // The installation's own bcdboot (this command line, of this version)
    // was not run: it is too old to write the store the line names.
    virtual void toolSkipped(const std::string& commandLine, const std::string& version) = 0;
    // Bin's bcdboot failed for this installation: its own bcdboot runs next.
    virtual void ownBcdbootStarting(const std::string& installation) = 0;
};

} // namespace orvanta
