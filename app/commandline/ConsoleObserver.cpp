#include "app/commandline/ConsoleObserver.h"

#include "app/commandline/CommandLineOutput.h"

namespace orvanta {

void ConsoleObserver::toolStarting(const std::string& commandLine, const std::string& programPath,
                                   const FileIdentity& program) {
    log_.toolStarting(commandLine, programPath, program);
    program_ = programPath;
    WriteLines(output_, {"运行：" + commandLine});
}

void ConsoleObserver::toolFinished(const ToolRun& run) {
    log_.toolFinished(run);
    WriteLines(output_, ToolEndLines(run));
    summary_.toolRuns.push_back({program_, run});
    summaryChanged_();
}

void ConsoleObserver::toolSkipped(const std::string& commandLine, const std::string& version) {
    log_.toolSkipped(commandLine, version);
    WriteLines(output_, SkippedToolLines(commandLine, version));
    summary_.skippedTools.push_back({commandLine, version});
}

void ConsoleObserver::ownBcdbootStarting(const std::string& installation) {
    log_.ownBcdbootStarting(installation);
    WriteLines(output_, OwnBcdbootLines(installation));
}

} // namespace orvanta
