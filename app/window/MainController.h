#pragma once
// The main window's behaviour: start-up, the size toggle, the close guard, the
// folder chooser and the repair. It turns what the survey and the repair run
// return into control changes and message boxes.
#include <optional>

#include "app/session/ActiveRepair.h"
#include "app/window/MainControls.h"
#include "app/session/SessionLog.h"
#include "app/window/SizeToggle.h"
#include "app/texts/UserMessages.h"
#include "app/window/WindowSurvey.h"
#include "discovery/survey/MachineSurvey.h"
#include "discovery/volumes/SystemPartitionLetter.h"
#include "platform/Platform.h"
#include "repair/run/BootEntryOffer.h"
#include "repair/run/RepairRun.h"

namespace orvanta {

class MainController {
public:
    MainController(MainControls controls, Platform platform);

    // Before the window exists.
    void onInitialize();
    // After the controls exist, before the window is first shown: the window
    // shows that the survey is coming.
    void onLoad();
    // Once the window is shown: the survey, with the window answering.
    void onShown();
    // After every change of the window's size or state.
    void onResized();
    // On every close request; true refuses the close. Refused only while a
    // repair runs; a survey or a question before a run is given up at once.
    bool onCloseRequested();
    void onBrowseClicked();
    void onRepairClicked();
    // The user asks to log off or shut down; true refuses while the tools run
    // and the old stores lie aside (not while the result boxes are open).
    bool onSessionEndRequested();
    // The session ends now, whatever was answered: the old stores go back and
    // the ESP's letter is taken away before the process is ended. When only
    // this program is asked to close, nothing changes here: the close request
    // that follows decides, and the letter goes when the program really ends.
    void onSessionEnding(SessionEnd end = SessionEnd::SessionEnds);
    // This instance was started by the restart that asks for administrator
    // rights: without them it doesn't offer the restart again.
    void markStartedByElevatedRestart() { startedByElevatedRestart_ = true; }
    // The program ends at once (after an error nothing handled): takes away
    // what the program gave the machine for its lifetime.
    void releaseBeforeExit();

    const SizeToggle& sizeToggle() const { return sizeToggle_; }
    const SessionLog& log() const { return log_; }
    ComPointer taskbarList() const { return taskbarList_; }

private:
    bool isRepairing();
    // Surveys the drives and disks again and lists what was found; says so
    // when there is no fixed drive. Nothing when the window closed meanwhile.
    std::optional<MachineSurvey> rescanAndList();
    // The firmware and the ESP's letter, for what is said of a UEFI store.
    UefiContext uefiContext() const;
    void listFound(const ScanResult& scan);
    void showSurvey(const MachineSurvey& survey);
    // Offers to start again with administrator rights; this instance then ends.
    void offerElevatedRestart(const Message& question);
    // Locks or unlocks the inputs while a repair runs.
    void setRunning(bool running);

    void showOutcome(const RepairReport& report, const RepairPlan& plan, std::optional<UefiStartCheck> uefiStart,
                     bool bootEntryOffered);
    void offerBootEntry(const UefiStartCheck& check, const BootEntryOffer& offer);

    MainControls controls_;
    Platform platform_;
    SessionLog log_;
    LoggedMessageBoxes messages_; // every box the user sees is also in the log
    SizeToggle sizeToggle_;
    ComPointer taskbarList_ = 0;
    FirmwareMode firmware_ = FirmwareMode::Unknown;
    std::optional<SystemPartitionLetter> systemPartitionLetter_;
    ActiveRepair activeRepair_;
    WindowSurvey survey_;
    bool closing_ = false;
    bool startedByElevatedRestart_ = false;
};

} // namespace orvanta
