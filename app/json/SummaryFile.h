#pragma once
// The summary for scripts in the file /json named. It is written whole at
// every step that adds to it (to a temporary file beside the target, renamed
// into place), the first time before anything is done: a path that can't be
// written refuses the command, and a document an earlier start left there
// never passes for this one's. A process ended from outside leaves the
// document of its last step, with no exit code yet.
#include <string>

#include "app/json/RunSummary.h"
#include "platform/files/FileSystem.h"
#include "platform/shell/MessageBoxes.h"

namespace orvanta {

class SummaryFile {
public:
    explicit SummaryFile(FileSystem& files) : files_(files) {}

    // From now on the summary goes to `path` ("": nowhere), and is written
    // there at once; false when it can't be.
    bool open(std::string path, const RunSummary& summary);
    // Writes the summary as it stands now, once a path is open; false when it could not be.
    bool write(const RunSummary& summary);

    // "" until a path is open.
    const std::string& path() const { return path_; }

private:
    FileSystem& files_;
    std::string path_;
};

// The /json path can't be written: nothing is done.
Message SummaryNotWritableMessage(const std::string& path);
// The last write failed: what the file holds is an earlier step's.
std::string SummaryNotUpdatedLine(const std::string& path);

} // namespace orvanta
