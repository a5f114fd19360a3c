#pragma once
// The log of one start of the program: every repair, tool run, store step and
// message box, as it happens. A UTF-8 file with a byte-order mark and CRLF
// line ends (Notepad on Windows 7 shows it right), in Logs beside the
// executable, else in %TEMP%. What is written reaches the disk before the
// program goes on (a tool's lines while the tool starts up), so a run cut
// short leaves its log up to that point. A log that can't be written stops
// nothing.
#include <string>

#include "app/texts/LogLines.h"
#include "platform/threads/Clock.h"
#include "platform/files/FileSystem.h"
#include "platform/shell/MessageBoxes.h"
#include "repair/run/RepairObserver.h"

namespace orvanta {

class SessionLog : public RepairObserver {
public:
    SessionLog(FileSystem& files, Clock& clock) : files_(files), clock_(clock) {}

    // Creates the file for this start: at `chosenPath` when one is given,
    // else Logs\<date and time>.log beside the executable, else in %TEMP%.
    void open(const std::string& chosenPath = {});

    // The file's full path; "" when none could be made.
    const std::string& path() const { return path_; }
    // True once the file could not be made or a write failed.
    bool failed() const { return failed_; }

    // Each write reaches the disk before the program goes on, so a power cut
    // leaves the log up to that moment; `toDisk` false is for lines that are
    // followed at once by others that are written through. A tool's lines go
    // to the disk while the tool starts up, not in the gap between two tools.
    void write(const LogLines& lines, bool toDisk = true);
    void toolStarting(const std::string& commandLine, const std::string& programPath,
                      const FileIdentity& program) override;
    void toolStarted() override;
    void toolFinished(const ToolRun& run) override;
    void storeChanged(const StoreEvent& event) override;
    void oldStoreRead(const std::string& path, const StoreListing& listing) override;
    void toolSkipped(const std::string& commandLine, const std::string& version) override;
    void ownBcdbootStarting(const std::string& installation) override;

    Clock& clock() { return clock_; }

private:
    static constexpr int MaxLogsPerSecond = 9;

    bool createNew(const std::string& folder, const LocalTime& now);
    bool create(const std::string& path, bool replaceExisting);

    FileSystem& files_;
    Clock& clock_;
    std::unique_ptr<AppendFile> file_;
    std::string path_;
    bool failed_ = false;
};

// Message boxes that are also written to the log, title and text as shown.
class LoggedMessageBoxes : public MessageBoxes {
public:
    LoggedMessageBoxes(MessageBoxes& boxes, SessionLog& log) : boxes_(boxes), log_(log) {}
    void show(const Message& message) override;
    bool ask(const Message& message) override;

private:
    MessageBoxes& boxes_;
    SessionLog& log_;
};

} // namespace orvanta
