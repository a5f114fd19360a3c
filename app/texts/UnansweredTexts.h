#pragma once
// The words for the drives and disks that didn't answer within their
// deadline: where they stand in the status line, the log and /list, the
// question before a run, and the refusal when the boot partition is one.
#include <optional>
#include <string>
#include <vector>

#include "app/texts/UserMessages.h"
#include "discovery/survey/MachineSurvey.h"
#include "repair/run/RepairPlan.h"

namespace orvanta {

// The status line while the drives and disks are asked.
inline constexpr const char* SurveyingStatus = "正在查找系统……";

// Each one on a line, disks first: "磁盘 1（WDC WD10EZEX）10 秒没有响应，已跳过：
// 它上面的系统不会被修复", "驱动器 D: 10 秒没有响应，…".
std::vector<std::string> UnansweredLines(const MachineSurvey& survey);

// The status line after a survey: how many installations were found, and on
// a second line the drives BitLocker keeps locked and those that didn't answer.
std::string SurveyStatusText(const MachineSurvey& survey);

// The one box before a run, when a drive or disk didn't answer or the plan
// has warnings: each on a line, then the question; Yes runs.
std::optional<Message> QuestionBeforeRun(const RepairPlan& plan, const UefiContext& uefi, const MachineSurvey& survey);
// The command line's: the same lines, then that it goes on without asking.
std::optional<Message> NoticeBeforeRun(const RepairPlan& plan, const UefiContext& uefi, const MachineSurvey& survey);

// The refusal when the boot partition, or the disk it lies on, didn't answer;
// nothing when both did.
std::optional<Message> UnansweredBootPartitionMessage(const MachineSurvey& survey, const std::string& bootPartition);

} // namespace orvanta
