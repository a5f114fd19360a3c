#include "app/window/WindowSurvey.h"

#include "app/session/PlatformServices.h"
#include "app/texts/UnansweredTexts.h"

namespace orvanta {

WindowSurvey::WindowSurvey(MainControls controls, Platform platform)
    : controls_(controls), platform_(platform), surveyor_(platform.workers, platform.events) {}

void WindowSurvey::showSurveying() {
    controls_.statusLine.setCaption(SurveyingStatus);
    controls_.repairButton.setEnabled(false);
    controls_.browseButton.setEnabled(false);
}

std::optional<MachineSurvey> WindowSurvey::run(std::optional<FirmwareMode> firmware) {
    running_ = true;
    MachineSurvey survey = firmware ? RescanMachine(SurveyServicesOf(platform_), surveyor_, *firmware)
                                    : SurveyMachine(SurveyServicesOf(platform_), surveyor_);
    running_ = false;
    if (stopped_) return std::nullopt;
    controls_.statusLine.setCaption(SurveyStatusText(survey));
    controls_.repairButton.setEnabled(true);
    controls_.browseButton.setEnabled(true);
    return survey;
}

void WindowSurvey::stop() {
    stopped_ = true;
    surveyor_.stop();
}

} // namespace orvanta
