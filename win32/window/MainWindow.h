#pragma once
// The main window: its frame, its controls, and the routing of its messages
// to the core's event handlers.
#include <windows.h>

#include "app/window/MainController.h"
#include "win32/window/Fonts.h"
#include "win32/base/ScopedHandles.h"
#include "win32/window/Twips.h"
#include "win32/window/Win32Controls.h"
#include "win32/window/Win32WindowFrame.h"

namespace orvanta::win32 {

class MainWindow {
public:
    MainWindow(HINSTANCE instance, MessageBoxes& errors);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The window and the controls as the core sees them; usable once created.
    MainControls controls();

    // Creates the window and all its controls, hidden. False when the window
    // could not be made.
    bool create();

    // From now on the window's events go to the controller's handlers.
    void connect(MainController& controller) { controller_ = &controller; }

    // Centres the window on the screen and shows it, the focus on the repair button.
    void showCentred(int showCommand);

    HWND handle() const { return window_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void setIcons();
    void onCommand(WPARAM wParam, LPARAM lParam);
    void onClose();
    LRESULT onSessionEndQuery();
    void onSessionEnd(WPARAM ending, LPARAM flags);
    // Runs a handler of the controller; an error that escapes it ends the
    // program, after the controller has taken back what it gave the machine.
    template <typename Handler>
    void guarded(Handler&& handler);
    bool onActivate(WPARAM wParam);

    HINSTANCE instance_;
    MessageBoxes& errors_;
    ScreenDpi dpi_;
    WindowFonts fonts_;
    IconHandle bigIcon_;
    IconHandle smallIcon_;
    HWND window_ = nullptr;
    HWND focus_ = nullptr; // the control that gets the focus back on activation
    MainController* controller_ = nullptr;

    Win32WindowFrame windowFrame_;
    Win32DropDownList installationList_;
    Win32TextBox bootPartitionBox_;
    Win32CheckBox makeDefaultCheckBox_;
    Win32Button browseButton_;
    Win32Button repairButton_;
    Win32Label statusLine_;
    Win32FrameCaption firmwareLine_;
};

} // namespace orvanta::win32
