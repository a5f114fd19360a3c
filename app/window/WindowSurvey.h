#pragma once
// The survey as the window runs it: every drive and disk on a worker of its
// own while the window keeps answering. While it runs, the status line says
// so and the repair and browse buttons wait; a close request ends it at once.
#include <optional>

#include "app/window/MainControls.h"
#include "discovery/survey/MachineSurvey.h"
#include "platform/Platform.h"

namespace orvanta {

class WindowSurvey {
public:
    WindowSurvey(MainControls controls, Platform platform);

    // The status line says the survey runs; the two buttons are disabled.
    void showSurveying();

    // Surveys the PC (again, with the firmware as first found, when given),
    // then shows how many installations it found and enables the buttons.
    // Nothing when the window closed meanwhile: the program is ending.
    std::optional<MachineSurvey> run(std::optional<FirmwareMode> firmware);

    // The window closes: a survey in progress gives up, and none starts again.
    void stop();

    // Whether a survey runs now: the window's events are dispatched meanwhile.
    bool running() const { return running_; }

private:
    MainControls controls_;
    Platform platform_;
    DeviceSurveyor surveyor_;
    bool stopped_ = false;
    bool running_ = false;
};

} // namespace orvanta
