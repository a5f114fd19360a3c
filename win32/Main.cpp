// The program: with no arguments it creates the main window and runs it until
// it has closed; with arguments it runs the command line without a window.
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "app/commandline/CommandLineMode.h"
#include "app/window/MainController.h"
#include "app/texts/UserMessages.h"
#include "win32/base/DllSearchPath.h"
#include "win32/window/ErrorBoundary.h"
#include "win32/window/MainWindow.h"
#include "win32/base/ScopedHandles.h"
#include "win32/window/SessionWindow.h"
#include "win32/base/Utf.h"
#include "win32/text/Win32ConsoleControl.h"
#include "win32/text/Win32ConsoleOutput.h"
#include "win32/Win32Platform.h"

namespace {

using namespace orvanta;
using namespace orvanta::win32;

// Runs the window's messages until WM_QUIT; returns its exit code.
int RunMessageLoop(HWND mainWindow, Win32EventPump& events) {
    MSG message{};
    for (;;) {
        // No wait of the survey or of a tool is running now: a quit request
        // met inside one goes on.
        events.repostHeldQuit();
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        RouteMessage(mainWindow, message);
    }
    return static_cast<int>(message.wParam);
}

// The window is shown before the survey, which then runs with the window
// answering (closing it ends the program at once).
int RunProgram(Win32Platform& platform, HINSTANCE instance, int showCommand, bool restartedElevated) {
    MainWindow window(instance, platform.messages);
    MainController controller(window.controls(), platform.bundle());
    if (restartedElevated) controller.markStartedByElevatedRestart();

    const auto release = [&controller] { controller.releaseBeforeExit(); };
    RunGuarded(platform.messages, [&controller] { controller.onInitialize(); }, release);
    if (!window.create()) return 1;
    platform.setMainWindow(window.handle());
    window.connect(controller);
    RunGuarded(platform.messages, [&controller] { controller.onLoad(); }, release);
    window.showCentred(showCommand);
    RunGuarded(platform.messages, [&controller] { controller.onShown(); }, release);
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

// A repair gets a hidden window for the end of the session; attached to a
// console, the program hears its Ctrl+C, Ctrl+Break and closing.
int RunWithoutWindow(Win32Platform& platform, HINSTANCE instance, const CommandLineOptions& options) {
    Win32ConsoleOutput output; // attaches to the console of the command prompt, if any
    CommandLineMode mode(platform.bundle(), output);
    std::optional<SessionWindow> sessionWindow;
    if (options.kind == CommandKind::Repair && options.error.empty()) {
        sessionWindow.emplace(instance, mode, platform.messages);
        mode.setSessionWindow(reinterpret_cast<std::uintptr_t>(sessionWindow->handle()));
    }
    std::optional<Win32ConsoleControl> console;
    if (output.attachedToConsole()) {
        console.emplace(mode);
        platform.wakeOn(console->closingEvent(), [&console] { console->onClosing(); });
    }
    return mode.run(options);
}

// Where the DLL search can't be limited, DLLs beside the program would be
// loaded into it later: it refuses to start, naming them.
int RefuseForDlls(const std::vector<std::wstring>& dlls, bool commandLine) {
    std::vector<std::string> paths;
    for (const std::wstring& dll : dlls) paths.push_back(Narrow(dll));
    const Message message = DllsInTheSearchPathMessage(paths);
    if (commandLine) {
        Win32ConsoleOutput output;
        output.write(message.title + message.text + "\r\n");
        return RefusedExitCode;
    }
    // The box's window loads the theme DLL by name: from System32 first. Without
    // the manifest's Common Controls 6 it loads no more of them.
    LoadSystemLibrary(L"uxtheme.dll");
    // ACTCTX_EMPTY of the SDK's winbase.h, which MinGW's headers lack.
    const HANDLE emptyContext = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-3));
    ULONG_PTR cookie = 0;
    const bool plain = ActivateActCtx(emptyContext, &cookie) != FALSE;
    MessageBoxW(nullptr, Widen(message.text).c_str(), Widen(message.title).c_str(), MB_OK | MB_ICONWARNING);
    if (plain) DeactivateActCtx(0, cookie);
    return RefusedExitCode;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // First of all, for the whole run and the tools, which inherit it: a drive
    // without media (a card reader, the folder dialog) brings no system box up.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    LockDownDllSearchPath(); // then nothing may be loaded from beside the program
    const CommandLineOptions options = ParseCommandLine(Arguments());
    const bool commandLine = options.kind != CommandKind::Window || !options.error.empty();
    if (const std::vector<std::wstring> dlls = DllsInTheSearchPath(); !dlls.empty()) {
        return RefuseForDlls(dlls, commandLine);
    }
    // Lives until the process ends: a worker stuck on a disk that doesn't
    // answer may still be asking through it.
    Win32Platform platform;
    int exitCode = 0;
    if (commandLine) {
        exitCode = RunWithoutWindow(platform, instance, options);
    } else {
        const ComApartment com; // the taskbar list and the folder dialog need COM on this thread
        exitCode = RunProgram(platform, instance, showCommand, options.restartedElevated);
    }
    // The result is out (the log and the console are written through the
    // system, with no buffer of the runtime's) and what the program gave the
    // machine is back. ExitProcess ends the other threads first, so a worker
    // still stuck on a disk keeps no static object of the runtime's, destroyed
    // by a return from here, in use; the process itself may linger until the
    // disk answers the request the worker waits on.
    ExitProcess(static_cast<UINT>(exitCode));
}
