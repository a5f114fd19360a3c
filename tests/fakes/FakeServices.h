#pragma once
// Message boxes, the folder dialog, the version query, COM, the common
// controls, firmware, registry, elevation and the shutdown block reason.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeFileSystem.h"
#include "fakes/Journal.h"
#include "platform/shell/FolderDialog.h"
#include "platform/shell/MessageBoxes.h"
#include "platform/system/NamedMutexes.h"
#include "platform/threads/Clock.h"
#include "platform/shell/ComObjects.h"
#include "platform/text/ConsoleCodePage.h"
#include "platform/system/RunningSystem.h"
#include "platform/system/Elevation.h"
#include "platform/files/FileIdentities.h"
#include "platform/system/Firmware.h"
#include "platform/system/Registry.h"
#include "platform/shell/ShutdownBlock.h"
#include "platform/shell/CommonControls.h"
#include "platform/system/VersionQuery.h"
#include "platform/disks/VirtualDisks.h"

namespace orvanta {

class FakeMessageBoxes : public MessageBoxes {
public:
    explicit FakeMessageBoxes(Journal& journal) : journal_(journal) {}
    void show(const Message& message) override {
        journal_.add("message " + message.title + " " + std::to_string(static_cast<int>(message.style)) + " " +
                     message.text);
        if (whileShown) whileShown();
    }
    bool ask(const Message& message) override {
        journal_.add("ask " + message.title + " " + std::to_string(static_cast<int>(message.style)) + " " +
                     message.text);
        if (whileAsked) whileAsked();
        return answer;
    }
    bool answer = true; // the user's choice in the next question box
    std::function<void()> whileShown; // what happens while a box waits for the user
    std::function<void()> whileAsked; // the same for a question box

private:
    Journal& journal_;
};

class FakeFolderDialog : public FolderDialog {
public:
    explicit FakeFolderDialog(Journal& journal) : journal_(journal) {}
    // The next dialog confirms this path, handed back in a 260-character buffer.
    void choose(const std::string& path) { next = {true, path + std::string(260 - path.size(), '\0')}; }
    FolderChoice browse(const std::string& title) override {
        journal_.add("browse " + title);
        return next;
    }
    FolderChoice next; // cancelled unless told otherwise

private:
    Journal& journal_;
};

class FakeVersionQuery : public VersionQuery {
public:
    explicit FakeVersionQuery(Journal& journal) : journal_(journal) {}
    std::uint32_t majorVersion() override {
        journal_.add("version");
        return major;
    }
    std::uint32_t major = 6;

private:
    Journal& journal_;
};

class FakeComObjects : public ComObjects {
public:
    explicit FakeComObjects(Journal& journal) : journal_(journal) {}
    ComPointer createInstance(const std::string& classId, const std::string& interfaceId) override;
    std::int32_t callSlot(ComPointer object, std::uint32_t slot,
                          const std::vector<std::int32_t>& arguments) override;

    ComPointer instance = 0x5000;   // 0: the object or the interface isn't there
    std::int32_t hrInitResult = 0;  // what slot 3 (HrInit) answers

private:
    Journal& journal_;
};

class FakeCommonControls : public CommonControls {
public:
    explicit FakeCommonControls(Journal& journal) : journal_(journal) {}
    void initialize() override { journal_.add("init common controls"); }

private:
    Journal& journal_;
};

class FakeFirmware : public Firmware {
public:
    explicit FakeFirmware(Journal& journal) : journal_(journal) {}
    std::optional<std::uint32_t> firmwareType() override {
        journal_.add("firmware type");
        return type;
    }
    std::uint32_t probeFirmwareVariable() override {
        journal_.add("firmware variable");
        return variableError;
    }
    // Journals the name and the room given; a variable it doesn't hold is not found.
    FirmwareVariable readVariable(const std::string& name, const std::string& vendor, std::size_t capacity) override;
    // Journals the call; lists every variable it holds (or gives namesListing),
    // or fails with namesError.
    FirmwareVariable variableNames() override;
    // Journals the name and size; fails with the name's writeErrors entry, else
    // holds the bytes (or what storesInstead gives for the name).
    std::uint32_t writeVariable(const std::string& name, const std::string& vendor,
                                std::span<const std::uint8_t> bytes) override;
    void setVariable(const std::string& name, const std::string& vendor, std::vector<std::uint8_t> bytes) {
        variables[vendor + name] = {std::move(bytes), 0};
    }
    void failVariable(const std::string& name, const std::string& vendor, std::uint32_t error) {
        variables[vendor + name] = {{}, error};
    }
    std::optional<std::uint32_t> type;     // nothing: the system lacks GetFirmwareType
    std::uint32_t variableError = 1;       // ERROR_INVALID_FUNCTION: a BIOS PC
    std::map<std::string, FirmwareVariable> variables; // by vendor GUID and name
    std::uint32_t namesError = 0;                       // FunctionMissingError: the system can't list names
    std::optional<std::vector<std::uint8_t>> namesListing; // what the listing gives instead of the names held
    std::map<std::string, std::uint32_t> writeErrors;   // by name
    std::map<std::string, std::vector<std::uint8_t>> storesInstead; // by name: what the firmware keeps of a write

private:
    Journal& journal_;
};

// HKEY_LOCAL_MACHINE: keys, REG_DWORD values as "<key>\\<name>", and hives
// loaded from files of the fake disks (the running system's boot store).
class FakeRegistry : public Registry {
public:
    FakeRegistry(Journal& journal, FakeFileSystem& files) : journal_(journal), files_(files) {}
    bool keyExists(const std::string& key) override {
        journal_.add("registry key " + key);
        return keys.count(key) != 0;
    }
    std::optional<std::uint32_t> readNumber(const std::string& key, const std::string& name) override {
        journal_.add("registry value " + key + "\\" + name);
        const auto found = numbers.find(key + "\\" + name);
        return found == numbers.end() ? std::nullopt : std::optional<std::uint32_t>(found->second);
    }
    std::optional<std::string> readText(const std::string& key, const std::string& name) override {
        journal_.add("registry text " + key + "\\" + name);
        const auto found = texts.find(key + "\\" + name);
        return found == texts.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    // The loaded hive as its file holds it now.
    std::optional<RegistryKey> readTree(const std::string& key) override;
    // Copies the loaded hive's file, as RegSaveKey writes a hive; with
    // `saveError`, leaves a part of it and answers that error.
    std::uint32_t saveKey(const std::string& key, const std::string& path) override;
    // Puts the file's content in the loaded hive's file, as the system
    // writes a restored hive back; with `restoreError`, changes nothing and
    // answers that error.
    std::uint32_t restoreKey(const std::string& key, const std::string& path) override;
    // A WinPE booted from the given firmware type (1 BIOS, 2 UEFI).
    void simulatePreinstallation(std::uint32_t firmwareType) {
        keys["System\\CurrentControlSet\\Control\\MiniNT"] = true;
        numbers["System\\CurrentControlSet\\Control\\PEFirmwareType"] = firmwareType;
    }
    std::map<std::string, bool> keys;
    std::map<std::string, std::uint32_t> numbers;
    std::map<std::string, std::string> texts;       // REG_SZ values as "<key>\\<name>"
    std::map<std::string, std::string> loadedHives; // key -> the file it was loaded from
    std::uint32_t saveError = 0;
    std::uint32_t restoreError = 0;

private:
    Journal& journal_;
    FakeFileSystem& files_;
};

class FakeElevation : public Elevation {
public:
    explicit FakeElevation(Journal& journal) : journal_(journal) {}
    bool isElevated() override { return elevated; }
    bool restartElevated() override {
        journal_.add("restart elevated");
        return restartStarts;
    }
    bool elevated = true;
    bool restartStarts = true; // false: the user declines the consent prompt

private:
    Journal& journal_;
};

class FakeShutdownBlock : public ShutdownBlock {
public:
    explicit FakeShutdownBlock(Journal& journal) : journal_(journal) {}
    void setReason(std::uintptr_t, const std::string& reason) override { journal_.add("block shutdown " + reason); }
    void clearReason(std::uintptr_t) override { journal_.add("allow shutdown"); }

private:
    Journal& journal_;
};

// The console's code page: knows the byte strings it was taught (say GBK
// ones) and plain ASCII; anything else is not valid in it.
class FakeConsoleCodePage : public ConsoleCodePage {
public:
    std::optional<std::string> toUtf8(std::string_view bytes) override {
        const auto found = known.find(std::string(bytes));
        if (found != known.end()) return found->second;
        for (const char byte : bytes) {
            if (static_cast<unsigned char>(byte) >= 0x80) return std::nullopt;
        }
        return std::string(bytes);
    }
    std::map<std::string, std::string> known; // bytes -> their text
};

// 2026-12-07 15:30:00.000, and a second passes with every question.
class FakeClock : public Clock {
public:
    LocalTime now() override {
        return {day.year, day.month, day.day, 15, 30, static_cast<int>(ticks_ / 1000 % 60), 0};
    }
    std::uint64_t milliseconds() override { return ticks_ += 1000; }
    LocalTime day{2026, 12, 7}; // the date the PC's clock says (a dead battery sets it back)

private:
    std::uint64_t ticks_ = 0;
};

class FakeRunningSystem : public RunningSystem {
public:
    std::string windowsFolder() override { return windows; }
    bool isRedirected32Bit() override { return redirected; }
    std::string windowsVersion() override { return "10.0.19045"; }
    std::string programArchitecture() override { return "x64"; }
    std::string windows = "X:\\Windows"; // a pre-installation environment unless told
    bool redirected = false;
};

// Named mutexes as other processes left them: free, held, made by an
// elevated process this one may not open, abandoned by a holder that died,
// or not to be made at all.
enum class MutexState { Free, Held, AccessDenied, Abandoned, Failing };

class FakeMutexes : public NamedMutexes {
public:
    MutexAttempt tryTake(const std::string& name) override {
        ++attempts;
        MutexState& state = states[name];
        switch (state) {
        case MutexState::Held: return {0, MutexWait::TimedOut};
        case MutexState::AccessDenied: return {5, MutexWait::Taken}; // ERROR_ACCESS_DENIED
        case MutexState::Abandoned: state = MutexState::Held; return {0, MutexWait::Abandoned};
        case MutexState::Free: state = MutexState::Held; return {0, MutexWait::Taken};
        case MutexState::Failing: return {1450, MutexWait::TimedOut}; // ERROR_NO_SYSTEM_RESOURCES
        }
        return {};
    }
    void release(const std::string& name) override { states[name] = MutexState::Free; }
    std::map<std::string, MutexState> states;
    int attempts = 0;
};

// Who made each program: told per path; others have no version and no signature.
class FakeFileIdentities : public FileIdentities {
public:
    FileIdentity identify(const std::string& path) override {
        ++asked[path];
        const auto found = known.find(path);
        return found == known.end() ? FileIdentity{"", SignatureState::NotSigned, ""} : found->second;
    }
    std::map<std::string, FileIdentity> known;
    std::map<std::string, int> asked;
};

// Drives in virtual disks, told per drive; every other drive lies on none.
// Not journalled: every survey asks of each installation's drive.
class FakeVirtualDisks : public VirtualDisks {
public:
    VirtualDiskLookup fileBehind(const std::string& driveName) override {
        asked.push_back(driveName);
        const auto found = known.find(driveName);
        return found == known.end() ? VirtualDiskLookup{VirtualDiskLookup::Answer::NotVirtual} : found->second;
    }
    std::map<std::string, VirtualDiskLookup> known;
    std::vector<std::string> asked;
};

} // namespace orvanta
