#include "app/session/SessionLog.h"

namespace orvanta {
namespace {

inline constexpr const char* ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

void SessionLog::open(const std::string& chosenPath) {
    if (!chosenPath.empty()) {
        failed_ = !create(chosenPath, true);
        return;
    }
    const LocalTime now = clock_.now();
    const std::string beside = files_.applicationFolder() + "\\Logs";
    // The program may run from read-only media: then the log goes to %TEMP%.
    if (files_.createDirectories(beside) && createNew(beside, now)) return;
    failed_ = !createNew(files_.temporaryFolder(), now);
}

// Two starts within one second must not share a file: the later one takes
// the next free number rather than replacing the earlier one's log.
bool SessionLog::createNew(const std::string& folder, const LocalTime& now) {
    for (int attempt = 1; attempt <= MaxLogsPerSecond; ++attempt) {
        if (create(folder + "\\" + LogFileName(now, attempt), false)) return true;
    }
    return false;
}

// A path given by the user is theirs to reuse: that file is replaced.
bool SessionLog::create(const std::string& path, bool replaceExisting) {
    file_ = files_.createAppendFile(path, replaceExisting);
    if (file_ == nullptr || !file_->append(ByteOrderMark, true)) return false;
    path_ = path;
    return true;
}

void SessionLog::write(const LogLines& lines, bool toDisk) {
    if (path_.empty()) return;
    if (!file_->append(WithCrLf(lines), toDisk)) failed_ = true;
}

void SessionLog::toolStarting(const std::string& commandLine, const std::string& programPath,
                              const FileIdentity& program) {
    write(ToolStartLines(clock_.now(), commandLine, programPath, program), false);
}

// Before the tool has had time to touch a store, the log holds its start and
// the previous tool's end.
void SessionLog::toolStarted() {
    write({});
}

// The next tool's start, or the report, follows at once and is written through.
void SessionLog::toolFinished(const ToolRun& run) {
    write(ToolEndLines(run), false);
}

void SessionLog::storeChanged(const StoreEvent& event) {
    write(StoreLines(event));
}

void SessionLog::oldStoreRead(const std::string& path, const StoreListing& listing) {
    write(OldStoreLines(path, listing));
}

void SessionLog::toolSkipped(const std::string& commandLine, const std::string& version) {
    write(SkippedToolLines(commandLine, version));
}

void SessionLog::ownBcdbootStarting(const std::string& installation) {
    write(OwnBcdbootLines(installation));
}

void LoggedMessageBoxes::show(const Message& message) {
    log_.write(MessageLines(log_.clock().now(), message));
    boxes_.show(message);
}

bool LoggedMessageBoxes::ask(const Message& message) {
    log_.write(MessageLines(log_.clock().now(), message));
    const bool yes = boxes_.ask(message);
    log_.write({std::string("  回答：") + (yes ? "是" : "否")});
    return yes;
}

} // namespace orvanta
