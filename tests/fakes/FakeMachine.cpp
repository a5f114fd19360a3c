#include "fakes/FakeMachine.h"

#include "app/session/PlatformServices.h"
#include "fakes/BootSectors.h"
#include "fakes/DiskLayouts.h"

namespace orvanta {

FakeMachine::FakeMachine()
    : controller(MainControls{window, installationList, bootPartitionBox, makeDefaultCheckBox, browseButton,
                              repairButton, statusLine, firmwareLine},
                 platform()) {
    window.onResize = [this] { controller.onResized(); };
    files.addFolder("T:\\Temp");
    processes.partitionOf = [this](const std::string& drive) { return devices.identityOf(drive); };
    devices.beforeAnswer = [this](const std::string& devicePath) { workers.onRequest(devicePath); };
}

Platform FakeMachine::platform() {
    return Platform{drives,   devices,  files,     processes,     events,          messages,
                    folderDialog, version, com,    commonControls, firmware,       registry,
                    elevation, shutdownBlock, consoleCodePage, clock, runningSystem, fileIdentities,
                    virtualDisks, crypto, mutexes, workers};
}

void FakeMachine::addFixedDrive(char letter, bool withWindows) {
    drives.add(letter, DriveKind::Fixed);
    if (withWindows) files.addFolder(std::string{letter, ':', '\\'} + "Windows");
}

void FakeMachine::addTools() {
    files.addFile(files.applicationFolder() + "\\Bin\\bcdboot.exe");
    files.addFile(files.applicationFolder() + "\\Bin\\bootsect.exe");
}

void FakeMachine::addThreeInstallations() {
    for (char letter : {'C', 'D', 'E'}) addFixedDrive(letter);
    drives.add('F', DriveKind::Removable);
    files.addFile("C:\\Boot\\BCD");
    files.addFile("C:\\EFI\\Microsoft\\Boot\\BCD");
    addTools();
}

void FakeMachine::addMbrDiskOfThree(const std::vector<std::uint8_t>& bootCode) {
    constexpr std::uint64_t MiB = 1024 * 1024;
    devices.addDisk(0, {.layout = MbrLayout({{1, false, MiB, 100 * MiB},
                                            {2, false, 101 * MiB, 100 * MiB, true},
                                            {3, false, 201 * MiB, 100 * MiB}}),
                        .contents = {{0, bootCode}, {MiB, BitLockerBootSector()}}});
    for (std::uint32_t partition = 1; partition <= 3; ++partition) {
        devices.set(std::string{static_cast<char>('B' + partition), ':'}, {.location = VolumeLocation{0, partition}});
    }
}

void FakeMachine::addUefiPc() {
    addFixedDrive('C');
    devices.set("C:", {.location = VolumeLocation{0, 3}});
    devices.addDisk(0, {GptLayout({{1, false}, {2, true}, {3, false}})});
    firmware.type = 2;
    files.setFileSystem("Z:", "FAT32");
    addTools();
}

void FakeMachine::holdAsSystemStore(const std::string& path, const std::string& content) {
    const std::string volume = "\\Device\\HarddiskVolume" + std::to_string(path[0] - 'A');
    files.addFile(path, {.locked = true}, content);
    registry.loadedHives[SystemStoreKey] = path;
    registry.texts[std::string(HiveListKey) + "\\" + SystemStoreHiveName] = volume + path.substr(2);
    drives.devices[path.substr(0, 2)] = volume;
}

void FakeMachine::start() {
    controller.onInitialize();
    controller.onLoad();
    controller.onShown();
}

MachineSurvey FakeMachine::survey() {
    DeviceSurveyor surveyor(workers, events);
    return SurveyMachine(SurveyServicesOf(platform()), surveyor);
}

bool FakeMachine::userClose() {
    const bool refused = controller.onCloseRequested();
    journal.add(refused ? "close refused" : "close accepted");
    return !refused;
}

} // namespace orvanta
