// The program: creates the main window and runs it until it has closed.
#include <windows.h>

#include "app/MainController.h"
#include "win32/ErrorBoundary.h"
#include "win32/MainWindow.h"
#include "win32/ScopedHandles.h"
#include "win32/Win32Platform.h"

namespace {

using namespace orvanta;
using namespace orvanta::win32;

// Runs the window's messages until WM_QUIT; returns its exit code.
int RunMessageLoop(HWND mainWindow, Win32EventPump& events) {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        RouteMessage(mainWindow, message);
        // No wait of a tool is running now: a quit request met inside one goes on.
        events.repostHeldQuit();
    }
    return static_cast<int>(message.wParam);
}

int RunProgram(HINSTANCE instance, int showCommand) {
    Win32Platform platform;
    MainWindow window(instance, platform.messages);
    MainController controller(window.controls(), platform.bundle());

    const auto release = [&controller] { controller.releaseBeforeExit(); };
    RunGuarded(platform.messages, [&controller] { controller.onInitialize(); }, release);
    if (!window.create()) return 1;
    platform.setMainWindow(window.handle());
    window.connect(controller);
    RunGuarded(platform.messages, [&controller] { controller.onLoad(); }, release);
    window.showCentred(showCommand);
    return RunMessageLoop(window.handle(), platform.events);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const ComApartment com; // the taskbar list and the folder dialog need COM on this thread
    return RunProgram(instance, showCommand);
}
