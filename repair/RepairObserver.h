#pragma once
// What a repair run tells while it goes, for a log that must hold everything
// up to the moment a run is cut short.
#include <string>

#include "repair/StoreBackup.h"
#include "repair/ToolRunner.h"

namespace orvanta {

class RepairObserver {
public:
    virtual ~RepairObserver() = default;
    virtual void toolStarting(const std::string& commandLine) = 0;
    virtual void toolFinished(const ToolRun& run) = 0;
    virtual void storeChanged(const StoreEvent& event) = 0;
};

} // namespace orvanta
