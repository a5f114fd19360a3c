#include "app/texts/UnansweredTexts.h"

#include "app/phrases/JoinedText.h"
#include "app/texts/PreflightTexts.h"
#include "discovery/volumes/DrivePlace.h"
#include "discovery/volumes/VolumeEncryption.h"
#include "platform/text/DisplayWidth.h"
#include "platform/threads/WorkerPool.h"

namespace orvanta {
namespace {

// How wide the status line's second line may be, in columns of DisplayWidth
// (a Chinese character two): what fits between the frame's edge and the
// repair button.
constexpr std::size_t StatusLineColumns = 40;

// "10 秒没有响应".
std::string NoAnswerText() {
    return std::to_string(SurveyLimits.deadlineMilliseconds / 1000) + " 秒没有响应";
}

constexpr const char* Skipped = "，已跳过：它上面的系统不会被修复";

std::string DiskName(const UnansweredDisk& disk) {
    return "磁盘 " + std::to_string(disk.number) + "（" + (disk.model.empty() ? "型号不明" : disk.model) + "）";
}

// "磁盘 1", "驱动器 D:": short, for the status line.
std::vector<std::string> UnansweredNames(const MachineSurvey& survey) {
    std::vector<std::string> names;
    for (const UnansweredDisk& disk : survey.unansweredDisks) names.push_back("磁盘 " + std::to_string(disk.number));
    for (const std::string& drive : UnansweredDriveNames(survey.scan)) names.push_back("驱动器 " + drive);
    return names;
}

// The lines as a box shows them, each a sentence.
std::string UnansweredSentences(const MachineSurvey& survey) {
    std::string text;
    for (const std::string& line : UnansweredLines(survey)) text += line + "。\r\n";
    return text;
}

// The box with what didn't answer before its warnings; nothing when there is
// neither.
std::optional<Message> UnansweredFirst(const MachineSurvey& survey, const RepairPlan& plan, Message box) {
    const std::string unanswered = UnansweredSentences(survey);
    if (unanswered.empty() && plan.warnings.empty()) return std::nullopt;
    box.text = unanswered + box.text;
    return box;
}

const UnansweredDisk* UnansweredDiskOf(const MachineSurvey& survey, const ScannedDrive& drive) {
    if (!drive.location) return nullptr;
    for (const UnansweredDisk& disk : survey.unansweredDisks) {
        if (disk.number == drive.location->disk) return &disk;
    }
    return nullptr;
}

} // namespace

std::vector<std::string> UnansweredLines(const MachineSurvey& survey) {
    std::vector<std::string> lines;
    for (const UnansweredDisk& disk : survey.unansweredDisks) lines.push_back(DiskName(disk) + NoAnswerText() + Skipped);
    for (const std::string& drive : UnansweredDriveNames(survey.scan)) {
        lines.push_back("驱动器 " + drive + " " + NoAnswerText() + Skipped);
    }
    return lines;
}

std::string SurveyStatusText(const MachineSurvey& survey) {
    const std::vector<std::string> locked = LockedDriveNames(survey.scan);
    const std::string text = StatusText(survey.scan.installations.size(), locked);
    const std::vector<std::string> unanswered = UnansweredNames(survey);
    if (unanswered.empty()) return text;
    // One line for both: the status frame has room for two, and the second
    // ends before the repair button. Names that don't fit are counted, and
    // shorter still beside locked drives; the log and the question name them.
    const std::string before = text + (locked.empty() ? "\r\n" : "；");
    const std::string count = std::to_string(unanswered.size()) + " 个";
    const std::string forms[] = {JoinedText(unanswered, "、") + " 没有响应，已跳过", count + "磁盘或驱动器没有响应，已跳过",
                                 count + "没有响应"};
    for (const std::string& form : forms) {
        const std::string candidate = before + form;
        if (DisplayWidth(candidate.substr(candidate.rfind('\n') + 1)) <= StatusLineColumns) return candidate;
    }
    return before + forms[2];
}

std::optional<Message> QuestionBeforeRun(const RepairPlan& plan, const UefiContext& uefi, const MachineSurvey& survey) {
    return UnansweredFirst(survey, plan, RunWarningsQuestion(plan, uefi));
}

std::optional<Message> NoticeBeforeRun(const RepairPlan& plan, const UefiContext& uefi, const MachineSurvey& survey) {
    return UnansweredFirst(survey, plan, RunWarningsNotice(plan, uefi));
}

std::optional<Message> UnansweredBootPartitionMessage(const MachineSurvey& survey, const std::string& bootPartition) {
    const ScannedDrive* drive = FindDrive(survey.scan.drives, bootPartition);
    if (drive == nullptr || !IsUnanswered(survey, bootPartition)) return std::nullopt;
    const UnansweredDisk* disk = drive->answered ? UnansweredDiskOf(survey, *drive) : nullptr;
    const std::string what = disk ? "引导盘 " + drive->name + " 所在的" + DiskName(*disk) : "引导盘 " + drive->name + " ";
    return Message{what + NoAnswerText() + "：引导文件写不到一个不响应的磁盘上。\r\n"
                          "请检查这个磁盘（数据线、电源，或换一个接口）后重新运行本程序，或改用别的分区作引导盘。\r\n"
                          "修复未开始，没有做任何更改。",
                   WarningTitle, MessageStyle::Error};
}

} // namespace orvanta
