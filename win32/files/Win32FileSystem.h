#pragma once
// Files and folders through the kernel's wide-character file functions.
#include "platform/files/FileSystem.h"

namespace orvanta::win32 {

class Win32FileSystem final : public FileSystem {
public:
    std::string firstMatch(const std::string& path, MatchMask mask) override;
    std::optional<FileAttributes> fileAttributes(const std::string& path) override;
    bool moveFile(const std::string& from, const std::string& to) override;
    bool replaceFile(const std::string& from, const std::string& to) override;
    bool setFileAttributes(const std::string& path, const FileAttributes& attributes) override;
    bool removeFile(const std::string& path) override;
    bool createDirectories(const std::string& path) override;
    FileRead readFile(const std::string& path, std::size_t largest) override;
    std::optional<std::vector<FolderEntry>> listFolder(const std::string& path) override;
    std::vector<std::string> holdersOf(const std::string& path) override;
    std::string fileSystemName(const std::string& driveName) override;
    std::optional<std::uint64_t> freeBytes(const std::string& driveName) override;
    std::optional<std::uint64_t> clusterBytes(const std::string& driveName) override;
    std::unique_ptr<AppendFile> createAppendFile(const std::string& path, bool replaceExisting) override;
    std::string applicationFolder() override;
    std::string temporaryFolder() override;
};

} // namespace orvanta::win32
