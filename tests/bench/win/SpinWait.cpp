// Benchmark reference, not part of the product: a window program that runs
// each command line given as an argument, one after another, and waits for
// each the way the original tool runner does it: start the process hidden,
// open it for exit-code queries, then query the exit code and dispatch every
// pending window message in a loop with no pause until the code is no longer
// STILL_ACTIVE (259). One processor stays busy for the whole wait, which is
// what the benchmark compares against. Exits when the last command has ended.
// With "--block" as the first argument it waits instead by sleeping in
// MsgWaitForMultipleObjects on the process handle and the message queue:
// the floor of the blocking wait, for telling the system's own cost of
// ending and starting processes from the cost of the waiting program. It
// then starts each command with no console at all (CREATE_NO_WINDOW), as
// Orvanta starts its tools, so that the two compare like with like.
#include <windows.h>
#include <shellapi.h>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createWindow(HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BenchSpinWait";
    RegisterClassW(&windowClass);
    return CreateWindowW(L"BenchSpinWait", L"SpinWait", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, 400, 200, nullptr, nullptr, instance, nullptr);
}

void dispatchPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Sleeps until the process ends, dispatching the messages that wake it.
void blockingWait(HANDLE process) {
    while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        dispatchPending();
    }
}

// Runs one command line and waits for its end as described above.
bool run(const wchar_t* commandLine, bool block) {
    wchar_t buffer[2048];
    lstrcpynW(buffer, commandLine, 2048);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started = {};
    const DWORD flags = block ? CREATE_NO_WINDOW : 0;
    if (!CreateProcessW(nullptr, buffer, nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                        &started)) {
        return false;
    }
    CloseHandle(started.hThread);
    if (block) {
        blockingWait(started.hProcess);
        CloseHandle(started.hProcess);
        return true;
    }
    CloseHandle(started.hProcess);
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, started.dwProcessId);
    DWORD exitCode = 0;
    do {
        GetExitCodeProcess(process, &exitCode);
        dispatchPending();
    } while (exitCode == STILL_ACTIVE);
    if (process) CloseHandle(process);
    return true;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const HWND window = createWindow(instance);
    ShowWindow(window, show);
    UpdateWindow(window);
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    int failures = 0;
    const bool block = count > 1 && lstrcmpW(arguments[1], L"--block") == 0;
    for (int i = block ? 2 : 1; arguments && i < count; ++i) {
        if (!run(arguments[i], block)) ++failures;
    }
    LocalFree(arguments);
    DestroyWindow(window);
    dispatchPending();
    return failures;
}
