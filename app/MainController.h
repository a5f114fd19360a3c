#pragma once
// The main window's behaviour: start-up, the size toggle, the close guard, the
// folder chooser and the repair. It turns what the scan and the repair run
// return into control changes and message boxes.
#include "app/MainControls.h"
#include "app/SizeToggle.h"
#include "discovery/InstallationScan.h"
#include "platform/Platform.h"

namespace orvanta {

class MainController {
public:
    MainController(MainControls controls, Platform platform);

    // Before the window exists.
    void onInitialize();
    // After the controls exist, before the window is first shown.
    void onLoad();
    // After every change of the window's size or state.
    void onResized();
    // On every close request; true refuses the close.
    bool onCloseRequested();
    void onBrowseClicked();
    void onRepairClicked();

    const SizeToggle& sizeToggle() const { return sizeToggle_; }
    ComPointer taskbarList() const { return taskbarList_; }

private:
    // Scans the drives and lists what was found; says so when there is no fixed drive.
    ScanResult scanAndList();
    // Locks or unlocks the inputs while a repair runs.
    void setRunning(bool running);

    MainControls controls_;
    Platform platform_;
    SizeToggle sizeToggle_;
    ComPointer taskbarList_ = 0;
};

} // namespace orvanta
