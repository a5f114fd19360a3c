#include "fakes/FakeProcesses.h"

#include <stdexcept>

#include "platform/text/CaseBlind.h"
#include "platform/errors/PlatformError.h"

namespace orvanta {
namespace {

constexpr int MaximumWaits = 1000;

class FakeProcess : public StartedProcess {
public:
    FakeProcess(std::shared_ptr<ProcessRecord> record, const ProgramBehaviour& behaviour, FakeEventPump& events,
                std::function<std::uint32_t()> end)
        : record_(std::move(record)), left_(behaviour.waits), events_(events), end_(std::move(end)),
          output_{behaviour.standardOutput, behaviour.standardError}, lingers_(behaviour.lingers) {}
    ~FakeProcess() override {
        record_->released = true;
        record_->releasedWhileRunning = !record_->ended;
    }

    WakeReason waitForExitOrEvents() override {
        // A caller that keeps waiting on an ended process would wait forever.
        if (++record_->waits > MaximumWaits) throw std::logic_error("waiting on an ended process");
        if (record_->ended) return WakeReason::ProcessEnded;
        if (events_.pending()) return WakeReason::EventsPending;
        // Without user input the thread still wakes now and then (a repaint, say).
        if (--left_ > 0) return WakeReason::EventsPending;
        record_->ended = true;
        exitCode_ = end_();
        return WakeReason::ProcessEnded;
    }

    std::uint32_t exitCode() override { return record_->ended ? exitCode_ : StillActiveExitCode; }

    CapturedOutput output() override { return record_->terminated ? CapturedOutput{} : output_; }

    // Ended before it could do its work: it writes no store. One that
    // lingers goes on running (and holding its files) through any wait.
    void terminate(std::uint32_t exitCode) override {
        record_->terminated = !record_->ended;
        if (lingers_ && !record_->ended) return;
        record_->ended = true;
        exitCode_ = exitCode;
    }

    // One that doesn't linger does its work and ends within the wait.
    bool waitForExit(std::uint32_t) override {
        ++record_->exitWaits;
        if (!record_->ended && !lingers_) {
            record_->ended = true;
            exitCode_ = end_();
        }
        return record_->ended;
    }

private:
    std::shared_ptr<ProcessRecord> record_;
    int left_;
    FakeEventPump& events_;
    std::function<std::uint32_t()> end_;
    std::uint32_t exitCode_ = StillActiveExitCode;
    CapturedOutput output_;
    bool lingers_;
};

std::string UpperFileName(const std::string& path) {
    std::string name = path.substr(path.find_last_of('\\') + 1);
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
}

std::string WordAfter(const std::string& line, const std::string& marker) {
    const std::size_t start = line.find(marker);
    if (start == std::string::npos) return {};
    const std::size_t begin = start + marker.size();
    return line.substr(begin, line.find(' ', begin) - begin);
}

} // namespace

void FakeEventPump::dispatchPending() {
    ++dispatches_;
    while (!queue_.empty()) {
        const std::function<void()> action = std::move(queue_.front());
        queue_.pop_front();
        action();
    }
}

// Like the system: a quoted program path is taken whole; an unquoted line is
// tried up to each blank in turn, the shortest first, also with ".exe" added.
std::string FakeProcesses::resolve(const std::string& line) const {
    if (line.starts_with('"')) {
        const std::string path = line.substr(1, line.find('"', 1) - 1);
        return files_.isFile(path) ? path : std::string();
    }
    std::size_t blank = 0;
    do {
        blank = line.find(' ', blank + 1);
        const std::string candidate = line.substr(0, blank);
        if (files_.isFile(candidate)) return candidate;
        if (files_.isFile(candidate + ".exe")) return candidate + ".exe";
    } while (blank != std::string::npos);
    return {};
}

ProgramBehaviour FakeProcesses::behaviourOf(const std::string& commandLine) const {
    for (const auto& [part, behaviour] : rules_) {
        if (commandLine.find(part) != std::string::npos) return behaviour;
    }
    return {};
}

std::unique_ptr<StartedProcess> FakeProcesses::start(const std::string& commandLine,
                                                     const std::string& workingFolder) {
    journal_.add("run " + commandLine);
    const std::string program = resolve(commandLine);
    const ProgramBehaviour behaviour = behaviourOf(commandLine);
    if (program.empty()) throw PlatformError(2, "系统找不到指定的文件。");
    if (behaviour.startFails) throw PlatformError(193, "%1 不是有效的 Win32 应用程序。");
    auto record = std::make_shared<ProcessRecord>(ProcessRecord{commandLine, program, workingFolder});
    started_.push_back(record);
    for (auto& [part, action] : actions_) {
        if (action && commandLine.find(part) != std::string::npos) events_.post(std::exchange(action, nullptr));
    }
    return std::make_unique<FakeProcess>(record, behaviour, events_, [this, record, behaviour] {
        return finish(*record, behaviour);
    });
}

// bcdboot writes <s>\Boot\BCD, or with "/f uefi" <s>\EFI\Microsoft\Boot\BCD;
// current releases fail when the folder of the UEFI store is missing.
std::uint32_t FakeProcesses::finish(const ProcessRecord& record, const ProgramBehaviour& behaviour) {
    if (UpperFileName(record.program) != "BCDBOOT.EXE" || !behaviour.writesStore) return behaviour.exitCode;
    const std::string bootPartition = WordAfter(record.commandLine, " /s ");
    const std::size_t options = record.commandLine.find(" /s ");
    const std::size_t before = record.commandLine.rfind(' ', options - 1) + 1;
    const std::string installation = record.commandLine.substr(before, options - before);
    if (record.commandLine.find(" /f uefi") == std::string::npos) {
        writeStore(bootPartition + "\\Boot\\BCD", installation, false, behaviour.writesGarbage);
        return behaviour.exitCode;
    }
    if (!files_.isFolder(bootPartition + "\\EFI\\Microsoft\\Boot")) return 1;
    writeStore(bootPartition + "\\EFI\\Microsoft\\Boot\\BCD", installation, true, behaviour.writesGarbage);
    return behaviour.exitCode;
}

// Like the real tool: a store it finds is added to (its loader for this
// installation replaced), a missing one is made; the installation becomes
// the default. An existing store keeps its attributes.
void FakeProcesses::writeStore(const std::string& path, const std::string& installation, bool uefi, bool garbage) {
    std::string key = path;
    for (char& c : key) c = AsciiUpper(c);
    std::vector<FakeLoader>& loaders = loaders_[key];
    if (!files_.isFile(path)) loaders.clear();
    std::erase_if(loaders, [&](const FakeLoader& loader) { return loader.installation == installation; });
    const std::string drive = installation.substr(0, 2);
    const auto letter = static_cast<std::uint32_t>(static_cast<unsigned char>(drive[0]));
    const std::optional<PartitionIdentity> known = partitionOf ? partitionOf(drive) : std::nullopt;
    loaders.push_back({installation, known.value_or(PartitionIdentity{PartitionStyle::Mbr, {}, letter * 0x01010101U, 1048576})});
    const std::string content = garbage ? std::string("this is not a hive")
                                        : FakeHiveBytes(FakeBcdTree(uefi, loaders, static_cast<int>(loaders.size()) - 1));
    files_.addFile(path, files_.attributesOf(path).value_or(FakeAttributes{}), content);
}

} // namespace orvanta
