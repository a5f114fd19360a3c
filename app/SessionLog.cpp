#include "app/SessionLog.h"

namespace orvanta {
namespace {

inline constexpr const char* ByteOrderMark = "\xEF\xBB\xBF";

std::string WithCrLf(const LogLines& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

} // namespace

void SessionLog::open(const std::string& chosenPath) {
    if (!chosenPath.empty()) {
        failed_ = !create(chosenPath);
        return;
    }
    const std::string name = LogFileName(clock_.now());
    const std::string beside = files_.applicationFolder() + "\\Logs";
    // The program may run from read-only media: then the log goes to %TEMP%.
    if (files_.createDirectories(beside) && create(beside + "\\" + name)) return;
    failed_ = !create(files_.temporaryFolder() + "\\" + name);
}

bool SessionLog::create(const std::string& path) {
    file_ = files_.createAppendFile(path);
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
