// Benchmark driver: starts a window program under test and measures it from
// outside, reading the other process's windows only through queries that the
// window server answers itself (InternalGetWindowText, class names, styles),
// so that watching never wakes the program and never adds to its processor
// time. Modes:
//   start <title> <exe> [arguments]  time from just before CreateProcess until
//       a top-level window of that process with that title is visible; then
//       the peak working set, a close request and the wait for the end.
//   survey <exe> [arguments]  the same for Orvanta's window, and the time
//       until its survey has filled the list (its status line no longer says
//       it surveys).
//   repair <exe>   start Orvanta, wait for its window and its survey, click "开始修复",
//       dismiss the message boxes as they come (printing title and text),
//       wait until the run is over, print the peak working set, close it.
//   exec <exe> [arguments]   start the program and wait for its end.
// Output lines are "key<TAB>value" in UTF-8. Environment: BENCH_DRIVER_POLL_MS
// (how often a repair is looked at, default 50), BENCH_DRIVER_TIMEOUT_S
// (longest repair, default 900).
#include "BenchClock.h"

#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

void print(const std::wstring& line) {
    const std::wstring withEnd = line + L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, withEnd.c_str(), static_cast<int>(withEnd.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, withEnd.c_str(), static_cast<int>(withEnd.size()), utf8.data(),
                        size, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written,
              nullptr);
}

std::wstring windowText(HWND window) {
    wchar_t text[512] = {};
    InternalGetWindowText(window, text, 512);
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

DWORD ownerProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

DWORD numberFromEnvironment(const wchar_t* name, DWORD fallback) {
    wchar_t value[16];
    const DWORD length = GetEnvironmentVariableW(name, value, 16);
    return (length && length < 16) ? static_cast<DWORD>(std::wcstoul(value, nullptr, 10)) : fallback;
}

// ---- the program under test -------------------------------------------------

struct Target {
    PROCESS_INFORMATION info = {};
    unsigned long long startNs = 0;
};

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

bool launch(Target& target, wchar_t** arguments, int first, int count) {
    std::wstring commandLine = quoted(arguments[first]);
    for (int i = first + 1; i < count; ++i) commandLine += L" " + quoted(arguments[i]);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    target.startNs = benchWallClockNs();
    if (!CreateProcessW(arguments[first], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &target.info)) {
        print(L"error\tcannot start " + std::wstring(arguments[first]));
        return false;
    }
    return true;
}

// Waits for the process's end or for window messages of this thread, at most
// timeoutMs, and dispatches the messages. Returns false once the process ended.
bool pumpFor(const Target& target, DWORD timeoutMs) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &target.info.hProcess, FALSE, timeoutMs, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    return woke != WAIT_OBJECT_0;
}

void printPeakWorkingSet(const Target& target) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(target.info.hProcess, &counters, sizeof counters)) {
        print(L"peak_ws_kb\t" + std::to_wstring(counters.PeakWorkingSetSize / 1024));
    }
}

// Asks the window to close and waits for the process; ends it if it stays.
void closeAndWait(Target& target, HWND window) {
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(target.info.hProcess, 15000) != WAIT_OBJECT_0) {
        print(L"warning\tthe program did not end after the close request; terminated");
        TerminateProcess(target.info.hProcess, 1);
        WaitForSingleObject(target.info.hProcess, 5000);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(target.info.hProcess, &exitCode);
    print(L"exit_code\t" + std::to_wstring(exitCode));
    CloseHandle(target.info.hThread);
    CloseHandle(target.info.hProcess);
}

// ---- finding windows ----------------------------------------------------------

struct TopLevelQuery {
    DWORD process;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<TopLevelQuery*>(parameter);
    if (ownerProcess(window) == query->process && IsWindowVisible(window) &&
        windowText(window) == query->title && className(window) != L"#32770") {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND visibleTopLevel(DWORD process, const wchar_t* title) {
    TopLevelQuery query{process, title, nullptr};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// Set by the window-event hook when the awaited window is shown.
struct ShowWatch {
    DWORD process = 0;
    const wchar_t* title = nullptr;
    unsigned long long shownNs = 0;
};
ShowWatch* activeWatch = nullptr;

void CALLBACK onShow(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (!activeWatch || activeWatch->shownNs || object != OBJID_WINDOW) return;
    const unsigned long long now = benchWallClockNs();
    if (GetAncestor(window, GA_ROOT) == window && ownerProcess(window) == activeWatch->process &&
        windowText(window) == activeWatch->title) {
        activeWatch->shownNs = now;
    }
}

// Waits until the program's window is visible. The window-event hook reports
// the show as it happens; a check every 2 ms covers a system that does not
// raise the event. Prints the time taken and which of the two saw it first.
HWND awaitWindow(const Target& target, const wchar_t* title, DWORD timeoutMs) {
    ShowWatch watch;
    watch.process = target.info.dwProcessId;
    watch.title = title;
    activeWatch = &watch;
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, onShow,
                                               0, 0, WINEVENT_OUTOFCONTEXT);
    HWND window = nullptr;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    unsigned long long polledNs = 0;
    while (!window && GetTickCount64() < deadline) {
        if (!pumpFor(target, 2)) break;
        window = visibleTopLevel(target.info.dwProcessId, title);
        if (window && !watch.shownNs) polledNs = benchWallClockNs();
    }
    if (hook) UnhookWinEvent(hook);
    activeWatch = nullptr;
    if (!window) {
        print(L"error\tno visible window titled " + std::wstring(title));
        return nullptr;
    }
    const unsigned long long shown = watch.shownNs ? watch.shownNs : polledNs;
    print(L"startup_ms\t" + std::to_wstring((shown - target.startNs) / 1e6));
    print(std::wstring(L"detected_by\t") + (watch.shownNs ? L"event" : L"poll"));
    return window;
}

// ---- the repair ---------------------------------------------------------------

struct ChildQuery {
    const wchar_t* className;
    const wchar_t* text;
    HWND found;
    std::wstring texts;
};

BOOL CALLBACK matchChild(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<ChildQuery*>(parameter);
    if (className(window) != query->className) return TRUE;
    const std::wstring text = windowText(window);
    if (query->text && text == query->text) {
        query->found = window;
        return FALSE;
    }
    if (!query->text && !text.empty()) query->texts += (query->texts.empty() ? L"" : L" ") + text;
    return TRUE;
}

HWND childButton(HWND parent, const wchar_t* caption) {
    ChildQuery query{L"Button", caption, nullptr, {}};
    EnumChildWindows(parent, matchChild, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

struct BoxQuery {
    DWORD process;
    HWND found;
};

BOOL CALLBACK matchBox(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<BoxQuery*>(parameter);
    if (ownerProcess(window) == query->process && IsWindowVisible(window) &&
        className(window) == L"#32770") {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

// Prints the box's title and text and presses its OK button.
void dismissBox(HWND box) {
    ChildQuery texts{L"Static", nullptr, nullptr, {}};
    EnumChildWindows(box, matchChild, reinterpret_cast<LPARAM>(&texts));
    print(L"box\t" + windowText(box) + L"\t" + texts.texts);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// The first static control of the window whose text starts with `start`.
BOOL CALLBACK matchStaticStart(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<ChildQuery*>(parameter);
    if (className(window) == L"Static" && windowText(window).rfind(query->text, 0) == 0) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

// Waits until the window's status line no longer says the survey runs
// (checked every 2 ms, from outside) and prints the time from the start.
bool awaitList(const Target& target, HWND window, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        ChildQuery surveying{L"Static", L"正在查找系统", nullptr, {}};
        EnumChildWindows(window, matchStaticStart, reinterpret_cast<LPARAM>(&surveying));
        if (!surveying.found) {
            print(L"listed_ms\t" + std::to_wstring((benchWallClockNs() - target.startNs) / 1e6));
            return true;
        }
        if (!pumpFor(target, 2)) break;
    }
    print(L"error\tthe survey did not end");
    return false;
}

// Polls the run's state every pollMs (BENCH_DRIVER_POLL_MS, default 50).
int repair(Target& target, DWORD timeoutMs) {
    const DWORD pollMs = numberFromEnvironment(L"BENCH_DRIVER_POLL_MS", 50);
    const HWND window = awaitWindow(target, L"Orvanta", 60000);
    if (!window) return 1;
    // The window shows before its survey; the button waits until the list is filled.
    if (!awaitList(target, window, 60000)) {
        closeAndWait(target, window);
        return 1;
    }
    const HWND start = childButton(window, L"开始修复");
    if (!start) {
        print(L"error\tno button 开始修复");
        closeAndWait(target, window);
        return 1;
    }
    PostMessageW(start, BM_CLICK, 0, 0);
    print(L"clicked_ns\t" + std::to_wstring(benchWallClockNs()));
    bool seenRunning = false;
    HWND lastBox = nullptr;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        if (!pumpFor(target, pollMs)) {
            print(L"error\tthe program ended during the repair");
            return 1;
        }
        BoxQuery boxes{target.info.dwProcessId, nullptr};
        EnumWindows(matchBox, reinterpret_cast<LPARAM>(&boxes));
        if (boxes.found) {
            if (boxes.found != lastBox) dismissBox(boxes.found);
            lastBox = boxes.found;
            continue;
        }
        const std::wstring caption = windowText(start);
        if (caption == L"正在修复") seenRunning = true;
        if (seenRunning && caption == L"开始修复" && IsWindowEnabled(start)) {
            print(L"done_ns\t" + std::to_wstring(benchWallClockNs()));
            printPeakWorkingSet(target);
            closeAndWait(target, window);
            return 0;
        }
    }
    print(L"error\tthe repair did not end in time");
    closeAndWait(target, window);
    return 1;
}

int startup(Target& target, const wchar_t* title, bool survey) {
    const HWND window = awaitWindow(target, title, 60000);
    if (!window || (survey && !awaitList(target, window, 60000))) {
        closeAndWait(target, window);
        return 1;
    }
    // Let the window finish its first activation and painting before the
    // peak working set is read.
    pumpFor(target, 500);
    printPeakWorkingSet(target);
    closeAndWait(target, window);
    return 0;
}

int exec(Target& target) {
    WaitForSingleObject(target.info.hProcess, INFINITE);
    closeAndWait(target, nullptr);
    return 0;
}

} // namespace

int wmain() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring mode = count > 1 ? arguments[1] : L"";
    Target target;
    if (mode == L"start" && count > 3) {
        return launch(target, arguments, 3, count) ? startup(target, arguments[2], false) : 1;
    }
    if (mode == L"survey" && count > 2) {
        return launch(target, arguments, 2, count) ? startup(target, L"Orvanta", true) : 1;
    }
    if (mode == L"repair" && count > 2) {
        return launch(target, arguments, 2, count) ? repair(target, numberFromEnvironment(L"BENCH_DRIVER_TIMEOUT_S", 900) * 1000) : 1;
    }
    if (mode == L"exec" && count > 2) {
        return launch(target, arguments, 2, count) ? exec(target) : 1;
    }
    print(L"usage: benchdrive start <title> <exe> [args] | survey <exe> [args] | repair <exe> | exec <exe> [args]");
    return 2;
}
