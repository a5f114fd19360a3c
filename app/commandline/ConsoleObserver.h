#pragma once
// What the command line's repair shows while it runs: each tool's command
// line and end on the console, everything in the log, and each tool run in
// the summary for scripts, which is written out after every one.
#include <functional>
#include <string>

#include "app/json/RunSummary.h"
#include "app/session/SessionLog.h"
#include "platform/text/TextOutput.h"
#include "repair/run/RepairObserver.h"

namespace orvanta {

class ConsoleObserver : public RepairObserver {
public:
    ConsoleObserver(TextOutput& output, SessionLog& log, RunSummary& summary, std::function<void()> summaryChanged)
        : output_(output), log_(log), summary_(summary), summaryChanged_(std::move(summaryChanged)) {}

    void toolStarting(const std::string& commandLine, const std::string& programPath, const FileIdentity& program) override;
    void toolStarted() override { log_.toolStarted(); }
    void toolFinished(const ToolRun& run) override;
    void storeChanged(const StoreEvent& event) override { log_.storeChanged(event); }
    void oldStoreRead(const std::string& path, const StoreListing& listing) override { log_.oldStoreRead(path, listing); }
    void toolSkipped(const std::string& commandLine, const std::string& version) override;
    void ownBcdbootStarting(const std::string& installation) override;

private:
    TextOutput& output_;
    SessionLog& log_;
    RunSummary& summary_;
    std::function<void()> summaryChanged_;
    std::string program_; // of the tool that runs now
};

} // namespace orvanta
