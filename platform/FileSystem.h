#pragma once
// The file services the scan and the repair run use. Paths are UTF-8 texts in
// Windows form (drive letter, colon, backslashes).
#include <cstdint>
#include <string>

namespace orvanta {

// What the first-match query lets match: plain files only, or folders too.
// Hidden and system entries never match.
enum class MatchMask : std::uint32_t {
    FilesOnly = 0,
    FilesAndFolders = 16,
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The name of the entry at exactly this path when it matches the mask, or ""
    // when nothing matches. May throw PlatformError when the volume can't be read.
    virtual std::string firstMatch(const std::string& path, MatchMask mask) = 0;

    // True when a plain file (whatever its attributes) exists at the path.
    virtual bool fileExists(const std::string& path) = 0;

    // Renames a file; with replaceExisting an existing file at `to` is replaced.
    // False when the file could not be moved; nothing is changed then.
    virtual bool moveFile(const std::string& from, const std::string& to, bool replaceExisting) = 0;

    // Removes a file; false when it could not be removed.
    virtual bool removeFile(const std::string& path) = 0;

    // Creates the folder and any missing parents; true when it exists afterwards.
    virtual bool createDirectories(const std::string& path) = 0;

    // The folder of the program's executable, without a trailing backslash.
    virtual std::string applicationFolder() = 0;
};

} // namespace orvanta
