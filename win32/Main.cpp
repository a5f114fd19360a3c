// The program: with no arguments it creates the main window and runs it until
// it has closed; with arguments it runs the command line without a window.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/CommandLineMode.h"
#include "app/MainController.h"
#include "win32/DllSearchPath.h"
#include "win32/ErrorBoundary.h"
#include "win32/MainWindow.h"
#include "win32/ScopedHandles.h"
#include "win32/Utf.h"
#include "win32/Win32ConsoleOutput.h"
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

// The arguments after the program's name, as UTF-8.
std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> texts;
    for (int index = 1; arguments != nullptr && index < count; ++index) texts.push_back(Narrow(arguments[index]));
    LocalFree(arguments);
    return texts;
}

int RunWithoutWindow(const CommandLineOptions& options) {
    Win32Platform platform;
    Win32ConsoleOutput output;
    return RunCommandLine(options, platform.bundle(), output);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    LockDownDllSearchPath(); // first of all: nothing may be loaded from beside the program
    const CommandLineOptions options = ParseCommandLine(Arguments());
    if (options.kind != CommandKind::Window || !options.error.empty()) return RunWithoutWindow(options);
    const ComApartment com; // the taskbar list and the folder dialog need COM on this thread
    return RunProgram(instance, showCommand);
}
