#include "fakes/FakeMachine.h"

namespace orvanta {

FakeMachine::FakeMachine()
    : form(FormControls{window, RDriver, Text1, Check1, Command1, Command4, Status},
           Platform{drives, devices, files, processes, events, messages, folderDialog, version, com,
                    commonControls}) {
    window.onResize = [this] { form.Form_Resize(); };
}

void FakeMachine::addFixedDrive(char letter, bool withWindows) {
    drives.add(letter, Fixed);
    if (withWindows) files.addFolder(std::string{letter, ':', '\\'} + "Windows");
}

void FakeMachine::addTools() {
    files.addFile(files.applicationFolder() + "\\Bin\\bcdboot.exe");
    files.addFile(files.applicationFolder() + "\\Bin\\bootsect.exe");
}

void FakeMachine::addThreeInstallations() {
    for (char letter : {'C', 'D', 'E'}) addFixedDrive(letter);
    drives.add('F', Removable);
    files.addFile("C:\\Boot\\BCD");
    files.addFile("C:\\EFI\\Microsoft\\Boot\\BCD");
    addTools();
}

void FakeMachine::start() {
    form.Form_Initialize();
    form.Form_Load();
}

bool FakeMachine::userClose() {
    const bool refused = form.Form_QueryUnload();
    journal.add(refused ? "close refused" : "close accepted");
    return !refused;
}

} // namespace orvanta
