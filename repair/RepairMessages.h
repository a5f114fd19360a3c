#pragma once
// The texts the repair run shows.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

inline constexpr const char* NoteTitle = "提示：";
inline constexpr const char* WarningTitle = "警告！";
inline constexpr const char* NoSystemToRepairMessage = "当前电脑硬盘里未发现操作系统！无法进行此操作！";
inline constexpr const char* BiosSuccessMessage = "BIOS引导修复成功！";
inline constexpr const char* UefiSuccessMessage = "UEFI引导修复成功！";

struct FailedTool {
    std::string commandLine;
    std::uint32_t exitCode;
};

// Names each missing tool file and where it was expected.
std::string MissingToolsMessage(const std::vector<std::string>& missingPaths);

// Lists each command line that ended with a non-zero code, in decimal and hexadecimal.
std::string FailedToolsMessage(const std::vector<FailedTool>& failures);

} // namespace orvanta
