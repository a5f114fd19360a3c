#pragma once
// Every text the program shows: message boxes, status line and captions.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "discovery/firmware/FirmwareMode.h"
#include "platform/shell/MessageBoxes.h"
#include "platform/errors/PlatformError.h"
#include "repair/run/RepairPlan.h"
#include "repair/run/RepairRun.h"
#include "repair/run/UefiStartCheck.h"

namespace orvanta {

// The program's version, as its about panel and version block give it.
inline constexpr const char* ProgramVersion = "1.0";

inline constexpr const char* NoteTitle = "提示：";
inline constexpr const char* WarningTitle = "警告！";
inline constexpr const char* ErrorTitle = "Error!";

inline constexpr const char* IdleCaption = "开始修复";
inline constexpr const char* RunningCaption = "正在修复";
inline constexpr const char* ChooseFolderTitle = "请选择引导盘：选中该分区本身或其中任意一个文件夹均可";
inline constexpr const char* ShutdownBlockReason = "正在修复系统引导：请等修复完成后再注销或关机。";

// The firmware line: how the PC was started, and the EFI system partition's
// letter ("" when none was found or given).
std::string FirmwareCaption(FirmwareMode firmware, const std::string& systemPartition);

// An exit code as the boxes and the log show it beside the decimal: "0x000000C1".
std::string Hexadecimal(std::uint32_t value);

// The status line after a scan: how many installations were found.
std::string InstallationCountText(std::size_t count);

// The scan met no fixed drive at all.
Message NoDiskMessage();
// A repair was asked for but the rescan lists no installation; with drives
// BitLocker keeps locked, how to unlock them.
Message NothingToRepairMessage(const std::vector<std::string>& lockedDrives = {});
// A close request while a repair runs.
Message CloseRefusedMessage();
// A plan that was refused, and why; `bootPartitionText` as the user gave it.
// A missing right is asked about: Yes starts the program again elevated.
Message RefusalMessage(const RepairPlan& plan, const std::string& bootPartitionText);
// The command line's refusals: no administrator rights (nothing to offer
// there), and a /default that names no installation found.
Message NotElevatedCommandLineMessage();
// Still without administrator rights after the restart that asked for them
// (user account control off, a standard user): how to get them.
Message NotElevatedAfterRestartMessage();
// Where the system can't keep DLLs beside the program out of the search (no
// SetDefaultDllDirectories): the program refuses to start, naming them.
Message DllsInTheSearchPathMessage(const std::vector<std::string>& paths);
// Ctrl+C or Ctrl+Break in the console while a repair runs, said once.
inline constexpr const char* RepairNotInterruptibleText =
    "正在修复系统引导，不能中断：请等修复完成。\r\n";
Message UnknownDefaultMessage(const std::string& installation);
// An error that ended a run or a handler: its number and description.
Message ErrorMessage(const PlatformError& error);
// A tool that could not start, as a failed command line and the log give it:
// "无法启动（错误 193）：…".
std::string StartErrorText(const PlatformError& error);
// Why a repair stopped before its end, after "修复已中止：" or "中止原因：":
// the tool that could not start (or the error) with the system's text in
// brackets, or the session's end.
std::string StopReasonText(const RepairReport& report);
// "（错误 21，设备未就绪）": an error's number and the system's text, in brackets.
std::string BracketedError(const PlatformError& error);

// What the firmware means for a run's UEFI store.
struct UefiContext {
    FirmwareMode firmware = FirmwareMode::Unknown;
    std::string systemPartition; // the ESP's letter, "" when none was found
    std::optional<UefiStartCheck> start = std::nullopt; // the check after the run, when it ran
    bool bootEntryOffered = false; // an offer to write the firmware's boot entry follows: it tells what is missing
};

// What a finished run shows, in order: a refusal before anything moved (alone),
// an error that stopped it or an old store that could not go back, then for
// each store (BIOS, then UEFI) its success when it was judged repaired or a
// warning saying what its check found missing, then the tools that failed.
// A UEFI store on a partition that UEFI firmware can't read is a warning,
// not a success, unless the PC starts from BIOS. Otherwise a boot manager
// Secure Boot will refuse is a warning in place of the UEFI success (and
// after a store that failed its check), and the UEFI success tells what the
// check found of the firmware's boot entry.
std::vector<Message> OutcomeMessages(const RepairReport& report, const RepairPlan& plan, const UefiContext& uefi);

// False when the UEFI store went to a partition UEFI firmware can't start
// from (not FAT) and the PC may start from UEFI: the store is not bootable.
bool UefiStoreStartable(const RepairPlan& plan, const UefiContext& uefi);

// The command that lists the kept copies of this boot partition's stores:
// "Orvanta.exe /restore", with "/s D:" when it isn't the default one.
std::string RestoreCommandFor(const std::string& bootPartition, FirmwareMode firmware, const std::string& espLetter);

// For the last message: the old stores' entries a rebuild dropped, with what
// to do about them, where each old store is kept and how to put one back
// (`restoreCommand`), and the transaction logs that did not follow their
// store; "" when nothing is.
std::string KeptStoresNote(const RepairReport& report, const std::string& restoreCommand);

// Where the repair log is, or that it could not be written.
std::string LogNote(const std::string& logPath, bool logFailed);
// Adds the note to the last message of a repair; false when there is none.
bool AddToLastMessage(std::vector<Message>& messages, const std::string& note);

} // namespace orvanta
