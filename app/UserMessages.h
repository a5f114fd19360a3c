#pragma once
// Every text the program shows: message boxes, status line and captions.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"
#include "platform/PlatformError.h"
#include "repair/RepairPlan.h"
#include "repair/RepairRun.h"

namespace orvanta {

inline constexpr const char* NoteTitle = "提示：";
inline constexpr const char* WarningTitle = "警告！";
inline constexpr const char* ErrorTitle = "Error!";

inline constexpr const char* IdleCaption = "开始修复";
inline constexpr const char* RunningCaption = "正在修复";
inline constexpr const char* ChooseFolderTitle = "请选择文件夹";

// The status line after a scan: how many installations were found.
std::string InstallationCountText(std::size_t count);

// The scan met no fixed drive at all.
Message NoDiskMessage();
// A repair was asked for but the rescan lists no installation.
Message NothingToRepairMessage();
// A close request while a repair runs.
Message CloseRefusedMessage();
// A plan that was refused, and why; `bootPartitionText` as the user gave it.
Message RefusalMessage(const RepairPlan& plan, const std::string& bootPartitionText);
// An error that ended a run or a handler: its number and description.
Message ErrorMessage(const PlatformError& error);

// What a finished run shows, in order: the success of each store that exists,
// then the tools that failed; or the error that stopped it.
std::vector<Message> OutcomeMessages(const RepairReport& report);

} // namespace orvanta
