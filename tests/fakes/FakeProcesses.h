#pragma once
// Started programs, the thread's event queue and the two boot tools' effect on
// the fake disks.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeBcdStores.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/Journal.h"
#include "platform/threads/Processes.h"

namespace orvanta {

struct ProgramBehaviour {
    int waits = 1;              // blocking waits until the process ends
    std::uint32_t exitCode = 0;
    bool writesStore = true;    // bcdboot writes the store that its arguments ask for
    bool writesGarbage = false; // ...but what it writes is no hive
    bool startFails = false;    // the file is there but the system can't start it
    std::string standardOutput = {}; // bytes it writes, in any encoding
    std::string standardError = {};
    bool lingers = false;       // still runs after it was told to end, however long it is waited for
};

struct ProcessRecord {
    std::string commandLine;
    std::string program; // the file the command line was resolved to
    std::string workingFolder;
    int waits = 0;
    bool ended = false;
    bool terminated = false;
    int exitWaits = 0;          // bounded waits for its end after it was told to end
    bool released = false;
    bool releasedWhileRunning = false;
};

// User actions waiting in the thread's queue; dispatching runs them all.
class FakeEventPump : public EventPump {
public:
    void post(std::function<void()> action) { queue_.push_back(std::move(action)); }
    bool pending() const { return !queue_.empty(); }
    void dispatchPending() override;
    int dispatches() const { return dispatches_; }

private:
    std::deque<std::function<void()>> queue_;
    int dispatches_ = 0;
};

class FakeProcesses : public Processes {
public:
    FakeProcesses(Journal& journal, FakeFileSystem& files, FakeEventPump& events)
        : journal_(journal), files_(files), events_(events) {}

    // The first rule whose text the command line contains decides how it behaves.
    void behave(std::string part, ProgramBehaviour behaviour) { rules_.emplace_back(std::move(part), behaviour); }
    // Every program behaves as by default again.
    void forgetBehaviours() { rules_.clear(); }
    // Posts a user action to the event queue when a line containing `part` starts.
    void whileRunning(std::string part, std::function<void()> action) {
        actions_.emplace_back(std::move(part), std::move(action));
    }

    std::unique_ptr<StartedProcess> start(const std::string& commandLine, const std::string& workingFolder) override;
    const std::vector<std::shared_ptr<ProcessRecord>>& started() const { return started_; }
    // Where an installation's drive lies, as bcdboot names it in the store;
    // a made-up MBR partition when the machine doesn't tell.
    std::function<std::optional<PartitionIdentity>(const std::string& driveName)> partitionOf;

private:
    std::string resolve(const std::string& commandLine) const;
    ProgramBehaviour behaviourOf(const std::string& commandLine) const;
    std::uint32_t finish(const ProcessRecord& record, const ProgramBehaviour& behaviour);
    void writeStore(const std::string& path, const std::string& installation, bool uefi, bool garbage);

    Journal& journal_;
    FakeFileSystem& files_;
    FakeEventPump& events_;
    std::vector<std::pair<std::string, ProgramBehaviour>> rules_;
    std::vector<std::pair<std::string, std::function<void()>>> actions_;
    std::vector<std::shared_ptr<ProcessRecord>> started_;
    std::map<std::string, std::vector<FakeLoader>> loaders_; // by the store's upper-case path
};

} // namespace orvanta
