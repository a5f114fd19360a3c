#include "discovery/volumes/DriveStrings.h"

namespace orvanta {
namespace {

// Drives can be added between two reads, so a read that still doesn't fit is
// tried again a few times with the newly asked size.
constexpr int MaximumReads = 4;

} // namespace

std::string ReadDriveStrings(Drives& drives) {
    std::size_t length = InitialDriveBufferLength;
    for (int read = 0; read < MaximumReads; ++read) {
        std::string buffer(length, ' ');
        const std::uint32_t count = drives.logicalDriveStrings(buffer);
        if (count <= buffer.size()) {
            buffer.resize(count);
            return buffer;
        }
        length = static_cast<std::size_t>(count) + 1; // room for the final NUL
    }
    return {};
}

std::vector<std::string> SplitDriveNames(const std::string& driveStrings) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < driveStrings.size()) {
        std::size_t end = driveStrings.find('\0', start);
        if (end == std::string::npos) end = driveStrings.size();
        const std::size_t length = end - start;
        // "C:\" gives "C:": the string without its backslash.
        if (length >= 3) names.push_back(driveStrings.substr(start, length - 1));
        start = end + 1;
    }
    return names;
}

} // namespace orvanta
