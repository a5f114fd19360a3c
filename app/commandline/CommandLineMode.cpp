#include "app/commandline/CommandLineMode.h"

#include <algorithm>

#include "app/commandline/CommandLineOutput.h"
#include "app/commandline/ConsoleObserver.h"
#include "app/json/JsonRestore.h"
#include "app/texts/LogLines.h"
#include "app/texts/PlanTexts.h"
#include "app/session/PlatformServices.h"
#include "app/texts/PreflightTexts.h"
#include "app/commandline/RestoreCommand.h"
#include "app/restore/RestoreTexts.h"
#include "app/texts/RunRefusals.h"
#include "app/session/SessionLog.h"
#include "app/phrases/StoreTexts.h"
#include "app/texts/UnansweredTexts.h"
#include "app/texts/UserMessages.h"
#include "discovery/volumes/DrivePlace.h"
#include "discovery/survey/MachineSurvey.h"
#include "discovery/volumes/SystemPartitionLetter.h"
#include "discovery/volumes/VolumeEncryption.h"
#include "repair/run/BootEntryOffer.h"
#include "repair/partition/BootPartition.h"
#include "repair/tools/CommandLines.h"
#include "repair/run/RepairPlan.h"
#include "repair/run/RepairRun.h"
#include "repair/backup/StorePlan.h"

namespace orvanta {
namespace {

std::string CommandName(const CommandLineOptions& options) {
    if (options.kind == CommandKind::List) return "list";
    if (options.kind == CommandKind::Restore) return "restore";
    return options.plan ? "plan" : "repair";
}

SummaryRefusal StoreRefusalOf(const StoreRefusal& refusal) {
    return {refusal.reason == StoreRefusalReason::HeldByProgram ? "storeHeldByProgram" : "systemStoreNotSaved",
            StoreRefusalMessage(refusal)};
}

} // namespace

CommandLineMode::CommandLineMode(Platform platform, TextOutput& output)
    : platform_(platform), output_(output), log_(platform.files, platform.clock), summaryFile_(platform.files),
      surveyor_(platform.workers, platform.events) {}

const MachineSurvey& CommandLineMode::survey() {
    const MachineSurvey& found = summary_.survey.emplace(SurveyMachine(SurveyServicesOf(platform_), surveyor_));
    if (!found.scan.anyFixedDrive) say(NoDiskMessage());
    return found;
}

// What the survey found, with the ESP's letter, to the log and, when
// `printed`, to the console.
void CommandLineMode::tellSurvey(bool printed) {
    const LogLines lines = SurveyLines(*summary_.survey, summary_.systemPartitionLetter, summary_.letterGiven);
    if (printed) WriteLines(output_, lines);
    log_.write(lines);
    publish();
}

void CommandLineMode::say(const Message& message) {
    summary_.messages.push_back(message);
    log_.write(MessageLines(platform_.clock.now(), message));
    WriteMessage(output_, message);
}

int CommandLineMode::refuse(SummaryRefusal refusal) {
    say(refusal.message);
    summary_.refusal = std::move(refusal);
    return RefusedExitCode;
}

bool CommandLineMode::publish() {
    return summaryFile_.write(summary_);
}

// The stores on the partition a repair would start with, their entries
// marked where they lie on a partition no disk has.
int CommandLineMode::list() {
    const MachineSurvey& found = survey();
    // Looking gives the ESP no letter: its stores are listed when it has one.
    if (found.systemPartition) summary_.systemPartitionLetter = found.systemPartition->driveName;
    tellSurvey(true);
    const std::string bootPartition = DefaultBootPartition(found.firmware, summary_.systemPartitionLetter);
    const ScannedDrive* drive = FindDrive(found.scan.drives, bootPartition);
    if (drive && drive->locked) {
        WriteLines(output_, {"BCD 存储：" + bootPartition + " 已被 BitLocker 锁定，读不出它的 BCD 存储"});
        return RepairedExitCode;
    }
    const std::optional<std::string> systemStoreFile = SystemStoreFile(platform_.registry);
    for (const StoreFirmware firmware : {StoreFirmware::Bios, StoreFirmware::Uefi}) {
        const std::string path = StorePathOn(bootPartition, firmware);
        const std::optional<BcdStoreReading> reading = ReadStoreAt(
            platform_.files, platform_.registry, path, IsSystemStore(path, systemStoreFile, platform_.drives));
        SummaryListedStore& listed = summary_.listedStores.emplace_back(SummaryListedStore{firmware, path, std::nullopt});
        if (!reading) {
            WriteLines(output_, {"BCD 存储 " + path + "：不存在"});
            continue;
        }
        listed.listing = ListingOf(*reading, found.disks);
        WriteLines(output_, StoreListingLines("BCD 存储 " + path, *listed.listing));
    }
    return RepairedExitCode;
}

int CommandLineMode::restore(const CommandLineOptions& options) {
    RestoreCommand command(platform_, output_, log_, espLetter_, restoring_);
    const int exitCode = command.run(options, [this] {
        const MachineSurvey& found = survey();
        publish();
        return found;
    });
    const RestoreReport& report = summary_.restore.emplace(command.report());
    summary_.logPath = log_.path();
    summary_.systemPartitionLetter = espLetter_ ? espLetter_->driveName() : "";
    summary_.letterGiven = espLetter_ && espLetter_->mapped();
    if (report.refusal != RestoreRefusal::None) {
        const Message message = RestoreRefusalMessage(report);
        summary_.refusal = {RestoreRefusalWord(report.refusal), message};
        summary_.messages.push_back(message);
    } else if (!report.asked.empty()) {
        summary_.messages.push_back(RestoreOutcomeMessage(report));
    }
    return exitCode;
}

int CommandLineMode::repair(const CommandLineOptions& options) {
    // The plan changes nothing, not even a log file.
    if (!options.plan) {
        log_.open(options.logPath.value_or(""));
        summary_.logPath = log_.path();
        log_.write(StartLines(platform_.clock.now(), summary_.program));
    }
    if (const std::optional<int> refused = planRepair(options)) {
        if (options.plan) WriteLines(output_, {PlanVerdictLine(*refused, 0)});
        return *refused;
    }
    return options.plan ? showPlan() : runRepair(options);
}

std::optional<int> CommandLineMode::planRepair(const CommandLineOptions& options) {
    const MachineSurvey& found = survey();
    if (NeedsSystemPartitionLetter(found)) espLetter_.emplace(platform_.drives, *found.systemPartition, found.scan.drives);
    summary_.systemPartitionLetter = espLetter_ ? espLetter_->driveName() : "";
    summary_.letterGiven = espLetter_ && espLetter_->mapped();
    tellSurvey(options.plan);
    const std::vector<std::string>& installations = found.scan.installations;
    if (installations.empty()) return refuse({"noInstallation", NothingToRepairMessage(LockedDriveNames(found.scan))});
    std::string defaultInstallation = installations.front();
    if (options.defaultInstallation) {
        const auto listed = std::find_if(installations.begin(), installations.end(), [&](const std::string& entry) {
            return SameIgnoringCase(entry, *options.defaultInstallation);
        });
        if (listed == installations.end()) {
            return refuse({"unknownDefault", UnknownDefaultMessage(*options.defaultInstallation)});
        }
        defaultInstallation = *listed;
    }
    bootPartitionText_ = options.bootPartition.value_or(DefaultBootPartition(found.firmware, summary_.systemPartitionLetter));
    // Before the plan, which would ask the boot partition and wait on it.
    if (const auto refusal = UnansweredBootPartitionMessage(found, bootPartitionText_)) {
        return refuse({"bootPartitionUnanswered", *refusal});
    }
    const RepairPlan& plan = summary_.plan.emplace(PlanRepair(
        {installations, defaultInstallation, bootPartitionText_, platform_.elevation.isElevated(), found.firmware,
         InstallationPartitions(found), found.disks, found.scan.drives, found.virtualDisks, found.uefi},
        PlanServicesOf(platform_)));
    if (plan.refusal == Refusal::None) {
        const std::vector<std::string> bootex = plan.uefiBootFiles ? plan.uefiBootFiles->bootexInstallations() : std::vector<std::string>{};
        summary_.plannedCalls = RepairToolCalls(plan.toolFolder, plan.runOrder, plan.bootPartition, bootex);
    }
    publish();
    return std::nullopt;
}

SummaryRefusal CommandLineMode::refusalOf(const RepairPlan& plan) const {
    if (plan.refusal == Refusal::NotElevated) return {RefusalCode(plan.refusal), NotElevatedCommandLineMessage()};
    return {RefusalCode(plan.refusal), RefusalMessage(plan, bootPartitionText_)};
}

// What the repair would do, with the answer it would give: nothing is
// changed, no repair mutex is taken, and the ESP's letter goes at the end.
int CommandLineMode::showPlan() {
    const RepairPlan& plan = *summary_.plan;
    if (plan.refusal == Refusal::None) summary_.plannedStores = PlanStores({platform_.files, platform_.registry, platform_.drives}, plan.bootPartition);
    const PlannedStore* held = HeldStoreOf(summary_.plannedStores);
    if (held) summary_.plannedCalls.clear();
    if (!plan.runOrder.empty()) WriteLines(output_, RepairPlanLines(plan, summary_.plannedStores, summary_.plannedCalls));
    if (plan.refusal != Refusal::None || held) {
        refuse(held ? StoreRefusalOf({StoreRefusalReason::HeldByProgram, held->path, held->holders}) : refusalOf(plan));
        WriteLines(output_, {PlanVerdictLine(RefusedExitCode, 0)});
        return RefusedExitCode;
    }
    const std::vector<WarningBeforeRun> warnings =
        WarningsBeforeRun(&plan, {summary_.survey->firmware, summary_.systemPartitionLetter}, *summary_.survey);
    const int exitCode = warnings.empty() ? RepairedExitCode : NotFullyRepairedExitCode;
    WriteLines(output_, PlanWarningLines(warnings));
    WriteLines(output_, {PlanVerdictLine(exitCode, warnings.size())});
    return exitCode;
}

int CommandLineMode::runRepair(const CommandLineOptions& options) {
    const MachineSurvey& found = *summary_.survey;
    const RepairPlan& plan = *summary_.plan;
    const std::string& letter = summary_.systemPartitionLetter;
    if (plan.refusal == Refusal::NotElevated) return refuse(refusalOf(plan));
    // One repair at a time, from here to the end of this one.
    const RepairLock lock(platform_.mutexes);
    if (!lock.mayRepair()) return refuse({"anotherRepair", AnotherRepairMessage()});
    if (lock.state() != LockState::Taken) log_.write(RepairLockLines(lock));
    if (plan.refusal != Refusal::None) return refuse(refusalOf(plan));
    const UefiContext uefi{found.firmware, letter};
    // Nobody to ask: the warnings and what didn't answer are said, and the run
    // counts as not fully repaired.
    const std::optional<Message> notice = NoticeBeforeRun(plan, uefi, found);
    if (notice) say(*notice);

    log_.write(PlanLines(platform_.clock.now(), plan));
    ConsoleObserver observer(output_, log_, summary_, [this] { publish(); });
    RepairRun run(plan, RepairServicesOf(platform_), observer);
    const RepairReport& report = summary_.report.emplace([&] {
        const ActiveRepair::Scope active(activeRepair_, run, platform_.shutdownBlock, sessionWindow_);
        return run.carryOut();
    }());
    log_.write(ReportLines(platform_.clock.now(), report));
    UefiContext uefiAfter = uefi;
    uefiAfter.start = summary_.uefiStart = CheckAndLogUefiStart(platform_, log_, report, found, plan.bootPartition, letter);
    const BootEntryOffer offer = OfferBootEntry(report, plan, found, uefiAfter.start, letter);
    uefiAfter.bootEntryOffered = offer.offered() && options.writeBootEntry;
    std::vector<Message> messages = OutcomeMessages(report, plan, uefiAfter);
    const std::string kept = KeptStoresNote(report, RestoreCommandFor(plan.bootPartition, found.firmware, letter));
    if (!kept.empty() && !AddToLastMessage(messages, kept)) WriteLines(output_, {kept});
    for (const Message& message : messages) say(message);
    const bool entryWritten = bootEntry(options.writeBootEntry, offer, plan.bootPartition);
    WriteLines(output_, {LogNote(log_.path(), log_.failed())});
    if (report.refusal) {
        summary_.refusal = StoreRefusalOf(*report.refusal);
        return RefusedExitCode;
    }
    if (report.error || report.abandoned || report.settleError) return SystemErrorExitCode;
    // Not fully repaired also when a warning was said before the run (or a
    // drive or disk that didn't answer, whose systems were left alone), when
    // Secure Boot will refuse the boot manager or it is damaged, when the UEFI
    // store lies where UEFI firmware can't start from, or when the boot entry
    // asked for wasn't written: the PC may not start.
    const bool refused = uefiAfter.start && (uefiAfter.start->refused() || uefiAfter.start->damaged());
    const bool startable = UefiStoreStartable(plan, uefiAfter);
    return report.fullyRepaired() && !notice && !refused && startable && entryWritten
               ? RepairedExitCode
               : NotFullyRepairedExitCode;
}

// With /fwentry the offered boot entry is written, else the switch is named;
// false when a write was tried and didn't hold.
bool CommandLineMode::bootEntry(bool asked, const BootEntryOffer& offer, const std::string& bootPartition) {
    if (offer.offered() && asked) {
        const BootEntryWrite write = WriteAndLogBootEntry(platform_, log_, offer, "/fwentry");
        say(BootEntryWriteMessage(write, bootPartition));
        return write.written() || write.outcome == BootEntryWriteOutcome::StateChanged;
    }
    const std::string line = offer.offered() ? BootEntrySwitchHint : asked ? BootEntryNotWrittenLine(offer.state) : "";
    if (line.empty()) return true;
    log_.write({line});
    WriteLines(output_, {line});
    return true;
}

bool CommandLineMode::onInterruptRequested() {
    const bool restoring = restoring_;
    if (!activeRepair_.running() && !restoring) return false;
    if (!interruptRefused_.exchange(true)) output_.write(restoring ? RestoreNotInterruptibleText : RepairNotInterruptibleText);
    return true;
}

bool CommandLineMode::onSessionEndRequested() {
    return activeRepair_.running() || restoring_;
}

void CommandLineMode::onSessionEnding(SessionEnd end) {
    if (!activeRepair_.endSession(end)) return;
    if (espLetter_) espLetter_->release();
    // The process may be ended once this returns.
    if (std::optional<RepairReport> soFar = activeRepair_.reportSoFar()) summary_.report = std::move(soFar);
    summary_.sessionEnded = true;
    summary_.exitCode = SystemErrorExitCode;
    publish();
}

int CommandLineMode::run(const CommandLineOptions& options) {
    if (!options.error.empty()) {
        output_.write(options.error + "\r\n输入 Orvanta.exe /? 查看用法。\r\n");
        return RefusedExitCode;
    }
    if (options.kind == CommandKind::Usage) {
        output_.write(UsageText());
        return RepairedExitCode;
    }
    summary_ = {};
    summary_.command = CommandName(options);
    summary_.program = ProgramFactsOf(platform_);
    if (!summaryFile_.open(options.jsonPath.value_or(""), summary_)) {
        WriteMessage(output_, SummaryNotWritableMessage(*options.jsonPath));
        return RefusedExitCode;
    }
    summary_.exitCode = command(options);
    if (!publish()) WriteLines(output_, {SummaryNotUpdatedLine(summaryFile_.path())});
    return *summary_.exitCode;
}

int CommandLineMode::command(const CommandLineOptions& options) {
    try {
        if (options.kind == CommandKind::Restore) return restore(options);
        return options.kind == CommandKind::List ? list() : repair(options);
    } catch (const PlatformError& error) {
        WriteMessage(output_, ErrorMessage(error));
        summary_.error = error;
        return SystemErrorExitCode;
    }
}

std::string UsageText() {
    return "Orvanta " + std::string(ProgramVersion) +
           "：让硬盘上的 Windows 能从 BIOS 和 UEFI 固件重新启动\r\n"
           "\r\n"
           "用法：\r\n"
           "  Orvanta.exe                  打开窗口\r\n"
           "  Orvanta.exe /?               显示本说明\r\n"
           "  Orvanta.exe /list [/json 文件]\r\n"
           "                               列出找到的系统、固件、EFI 系统分区、\r\n"
           "                               各驱动器和 BCD 存储的启动项\r\n"
           "  Orvanta.exe /repair [/s X:] [/default X:\\Windows] [/nodefault] [/log 文件]\r\n"
           "                      [/fwentry] [/plan] [/json 文件]\r\n"
           "                               修复引导，与窗口里的“开始修复”相同\r\n"
           "  Orvanta.exe /restore [/s X:] [/log 文件] [副本]\r\n"
           "                               不给副本：列出修复时保留的旧 BCD 存储副本；\r\n"
           "                               给出副本：把它换回原处，原来的 BCD 存储保留\r\n"
           "                               为新的副本，再检查换回的 BCD 存储\r\n"
           "    /s X:                      引导盘（默认：UEFI 电脑上为 EFI 系统分区，\r\n"
           "                               否则为 C:）\r\n"
           "    /default X:\\Windows        设为默认系统（必须是 /list 列出的系统之一）\r\n"
           "    /nodefault                 不指定：第一个找到的系统为默认系统\r\n"
           "    /log 文件                  修复日志写到这个文件（默认：程序旁的 Logs\r\n"
           "                               文件夹，不能写时为 %TEMP%）\r\n"
           "    /fwentry                   UEFI 修复成功后，固件里没有 Windows 启动管理器\r\n"
           "                               的启动项，或它不在启动顺序里时，写入它并排在\r\n"
           "                               启动顺序的第一位（窗口里会询问）；安全启动会\r\n"
           "                               拒绝启动管理器时不写入\r\n"
           "    /plan                      只查看，不做任何更改：列出找到的系统、警告、\r\n"
           "                               引导盘空间、安全启动的判断、BCD 存储和副本的\r\n"
           "                               去向，以及修复会依次运行的命令\r\n"
           "    /json 文件                 另把结果写成 JSON 文件，供脚本读取（也可用于\r\n"
           "                               /list 和 /restore，字段见 README）；不能写时\r\n"
           "                               不做任何更改\r\n"
           "    副本                       /restore 列出的副本在引导盘上的路径（也可以\r\n"
           "                               带上引导盘的盘符），例如：\r\n"
           "      \\EFI\\Microsoft\\Boot\\bcd.orvanta-0003-20261208-153102-ok\r\n"
           "参数不区分大小写，也可以用 - 代替 /。需要管理员权限。\r\n"
           "\r\n"
           "退出代码：\r\n"
           "  0  修复完成：每个 BCD 存储都已重建并通过检查；/restore 已列出副本，\r\n"
           "     或已换回并通过检查\r\n"
           "  1  没有完全修复：有修复工具失败，有 BCD 存储没有通过检查，UEFI 的\r\n"
           "     BCD 存储写在固件无法从它启动的分区上，安全启动会拒绝启动管理器，\r\n"
           "     /fwentry 没能写好固件启动项，或运行前确认了警告（修复日志里有详情）；\r\n"
           "     /restore 已换回，但检查没有通过\r\n"
           "  2  拒绝执行，没有做任何更改：参数或输入有误、缺少修复工具、没有找到\r\n"
           "     系统、没有管理员权限、引导盘不能用、另一个 Orvanta 正在修复，或\r\n"
           "     BCD 存储正被其他程序使用、无法另存；/restore 的副本不存在、不是\r\n"
           "     本程序保留的或无法读取\r\n"
           "  3  修复中止（修复工具无法启动、系统出错、注销或关机、控制台窗口被\r\n"
           "     关闭）：修复可能只完成了一部分，修复日志里写明了做了什么；换回\r\n"
           "     中止（副本无法移到原处、磁盘出错）：修复日志里写明了各 BCD 存储在哪里\r\n"
           "使用 /plan 时：0 修复可以进行，没有警告；1 有警告（修复会照样进行，\r\n"
           "  退出代码至少为 1）；2 修复会被拒绝\r\n"
           "\r\n"
           "例如：\r\n"
           "  Orvanta.exe /repair /s Z: /default D:\\Windows\r\n"
           "在命令提示符中直接输入时，请用 start /wait 运行，才会等修复结束并设置\r\n"
           "%ERRORLEVEL%：\r\n"
           "  start /wait Orvanta.exe /repair /s Z: /default D:\\Windows\r\n";
}

int RunCommandLine(const CommandLineOptions& options, Platform platform, TextOutput& output) {
    CommandLineMode mode(platform, output);
    return mode.run(options);
}

} // namespace orvanta
