// UI driver for the end-to-end tests: starts the program under test and
// drives its window from outside, one command a line from a script file
// (UTF-8). It prints what it sees, one stable line per fact:
//   launch <exe> [args]          start the program (working folder: its own)
//   rename <from> <to>           rename a file or folder of the sandbox
//   window <ms>                  wait for the visible window titled "Orvanta" and for its
//                                survey to end (the status line no longer says 正在查找系统……)
//   shown <ms>                   wait for the visible window only; prints "shown Orvanta"
//   controls                     every named control's caption/state
//   show <Name>                  one of them, or firmwareLine (the status frame's caption)
//   click <Name>                 post BM_CLICK (does not wait for the handler)
//   sendclick <Name>             send BM_CLICK (returns when the handler has run)
//   settext <Name> <text>        WM_SETTEXT
//   select <Name> <index>        CB_SETCURSEL
//   maximize | minimize | restore | close | sysclose
//   size                         the window's state, outer and client size (pixels)
//   waitsize <ms>                wait until the size differs from the last one printed
//   message <ms>                 wait for the next message box, print and dismiss it
//   waitmessage <ms> | dismiss   the same in two steps
//   waittext <Name> <ms> <text>  wait until a control's text reads <text>
//   nomessage                    print whether a message box is open now
//   waitcaption <Name> <ms> <text>
//   waitfile <path> <ms> <text>  wait until a file contains a text
//   cpu <ms> <limit-ms>          processor time used by the program over <ms>
//   browse <ms> <path> | browse-cancel <ms>
//   exited <ms>                  wait for the program's end and print its exit code
//   runwait <ms> <exe> [args]    start another program beside the one under test (no console),
//                                wait for its end and print "ran <exit code>"
//   kill                         end the program if it still runs
//   echo <text>                  print the text (a cue for the script that reads the output)
//   queryend                     ask whether the session may end (WM_QUERYENDSESSION); prints the answer
//   launch-detached <exe> [args] start the program with no console to inherit
//   launch-console <exe> [args]  start the program with a console of its own
//   nowindow <ms>                wait for the program's end; print whether a visible window "Orvanta" showed
//   print <path>                 print a UTF-8 text file, a line each
//   cue <name>                   print "cue <name> WxH+X+Y", the main window's place on the
//                                screen, for the script that takes screenshots
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "uidriver.h"

using namespace uidriver;

namespace {

const char* const Names[] = {"repairButton", "browseButton", "bootPartitionBox", "installationList", "makeDefaultCheckBox", "statusLine"};

struct Driver {
    Target target;
    RECT lastRect{};
    bool failed = false;

    void fail(const std::string& what) {
        Print("error " + what);
        failed = true;
    }

    HWND control(const std::string& name) {
        HWND handle = target.window ? FindNamedControl(target.window, name) : nullptr;
        if (!handle) fail("no control " + name);
        return handle;
    }

    // The path ends at ".exe"; what follows are the program's arguments.
    // `flags`: DETACHED_PROCESS for no console to inherit (as from a shortcut),
    // CREATE_NEW_CONSOLE for a console of its own.
    void launch(const std::wstring& line, DWORD flags = 0) {
        PROCESS_INFORMATION info{};
        if (!start(line, flags, info)) return;
        target.thread = info.hThread;
        target.process = info.hProcess;
        target.processId = info.dwProcessId;
        WaitForInputIdle(info.hProcess, 10000);
    }

    // A second program: the one under test stays the target.
    void runWait(DWORD ms, const std::wstring& line) {
        PROCESS_INFORMATION info{};
        if (!start(line, DETACHED_PROCESS, info)) return;
        DWORD code = 0;
        if (WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0 && GetExitCodeProcess(info.hProcess, &code)) {
            Print("ran " + std::to_string(code));
        } else {
            Print("still running");
        }
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }

    bool start(const std::wstring& line, DWORD flags, PROCESS_INFORMATION& info) {
        std::wstring lower = line;
        for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
        const std::size_t end = lower.find(L".exe");
        const std::wstring exe = end == std::wstring::npos ? line : line.substr(0, end + 4);
        const std::wstring arguments = end == std::wstring::npos ? L"" : line.substr(end + 4);
        std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
        std::wstring commandLine = L"\"" + exe + L"\"" + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, folder.c_str(),
                            &startup, &info)) {
            fail("launch " + std::to_string(GetLastError()));
            return false;
        }
        return true;
    }

    HWND findWindow() {
        HWND found = nullptr;
        while ((found = FindWindowExW(nullptr, found, nullptr, L"Orvanta")) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (owner == target.processId && IsWindowVisible(found) && ClassOf(found) != L"#32770") return found;
        }
        return nullptr;
    }

    void window(DWORD ms) {
        const bool surveyed = WaitFor(ms, [&] {
            target.window = findWindow();
            const HWND status = target.window ? FindNamedControl(target.window, "statusLine") : nullptr;
            return status != nullptr && TextOf(status) != L"正在查找系统……";
        });
        if (surveyed) Print("window Orvanta");
        else fail(target.window ? "the survey did not end" : "no window");
    }

    void shown(DWORD ms) {
        if (WaitFor(ms, [&] { return (target.window = findWindow()) != nullptr; })) Print("shown Orvanta");
        else fail("no window");
    }

    void showControl(const std::string& name) {
        HWND handle = control(name);
        if (!handle) return;
        const std::string enabled = IsWindowEnabled(handle) ? "1" : "0";
        if (name == "repairButton" || name == "browseButton") Print("caption " + name + " " + OneLine(TextOf(handle)));
        if (name == "bootPartitionBox") Print("text bootPartitionBox " + OneLine(TextOf(handle)));
        if (name == "statusLine") Print("status " + OneLine(TextOf(handle)));
        if (name == "firmwareLine") {
            Print("frame firmwareLine " + OneLine(TextOf(handle)));
            return;
        }
        if (name == "makeDefaultCheckBox") {
            DWORD_PTR check = 0;
            SendMessageTimeoutW(handle, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &check);
            Print("check makeDefaultCheckBox " + OneLine(TextOf(handle)) + " " + std::to_string(check));
        }
        if (name == "installationList") showCombo(handle);
        if (name != "statusLine") Print("enabled " + name + " " + enabled);
    }

    void showCombo(HWND combo) {
        DWORD_PTR count = 0;
        DWORD_PTR selected = 0;
        SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
        SendMessageTimeoutW(combo, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selected);
        Print("combo installationList count " + std::to_string(count));
        for (DWORD_PTR i = 0; i < count; ++i) {
            DWORD_PTR length = 0;
            SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length);
            std::vector<wchar_t> text(length + 2, L'\0');
            DWORD_PTR copied = 0;
            SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                                &copied);
            Print("combo installationList entry " + std::to_string(i) + " " + Utf8(text.data()));
        }
        const auto index = static_cast<LRESULT>(selected);
        Print("combo installationList selected " + (index < 0 ? std::string("none") : std::to_string(index)) + " " +
              OneLine(TextOf(combo)));
    }

    void size() {
        RECT outer{};
        RECT client{};
        GetWindowRect(target.window, &outer);
        GetClientRect(target.window, &client);
        lastRect = outer;
        const char* state = IsZoomed(target.window) ? "maximized" : IsIconic(target.window) ? "minimized" : "normal";
        Print(std::string("size ") + state + " outer " + std::to_string(outer.right - outer.left) + "x" +
              std::to_string(outer.bottom - outer.top) + " client " + std::to_string(client.right) + "x" +
              std::to_string(client.bottom));
    }

    void waitSize(DWORD ms) {
        const bool changed = WaitFor(ms, [&] {
            RECT now{};
            GetWindowRect(target.window, &now);
            return !IsZoomed(target.window) && !EqualRect(&now, &lastRect);
        });
        if (!changed) Print("size unchanged");
        size();
    }

    HWND messageBox() {
        for (HWND dialog : ProcessDialogs(target.processId)) {
            if (!HasChildOfClass(dialog, L"SysTreeView32")) return dialog;
        }
        return nullptr;
    }

    std::wstring messageText(HWND box) {
        for (const Control& child : ChildControls(box)) {
            if (_wcsicmp(child.className.c_str(), L"Static") != 0 || (child.style & SS_TYPEMASK) == SS_ICON) continue;
            const std::wstring text = TextOf(child.handle);
            if (!text.empty()) return text;
        }
        return {};
    }

    HWND waitMessage(DWORD ms) {
        HWND box = nullptr;
        if (!WaitFor(ms, [&] { return (box = messageBox()) != nullptr; })) {
            fail("no message");
            return nullptr;
        }
        wchar_t title[256] = {};
        GetWindowTextW(box, title, 256);
        Print("message " + Utf8(title) + " " + OneLine(messageText(box)));
        return box;
    }

    void message(DWORD ms) {
        if (HWND box = waitMessage(ms)) dismiss(box);
    }

    void dismiss(HWND box) {
        if (!box) {
            fail("no message to dismiss");
            return;
        }
        for (const Control& child : ChildControls(box)) {
            if (_wcsicmp(child.className.c_str(), L"Button") == 0) {
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child.handle), BN_CLICKED),
                             reinterpret_cast<LPARAM>(child.handle));
                break;
            }
        }
        if (!WaitFor(10000, [&] { return !IsWindow(box) || !IsWindowVisible(box); })) fail("message stays open");
    }

    void noMessage() {
        HWND box = messageBox();
        if (!box) {
            Print("nomessage");
            return;
        }
        wchar_t title[256] = {};
        GetWindowTextW(box, title, 256);
        Print("message-open " + Utf8(title) + " " + OneLine(messageText(box)));
    }

    void waitCaption(const std::string& name, DWORD ms, const std::wstring& text) {
        HWND handle = control(name);
        if (!handle) return;
        if (!WaitFor(ms, [&] { return TextOf(handle) == text && IsWindowEnabled(handle) == (text == L"开始修复"); }))
            Print("timeout waiting for " + name + " " + Utf8(text));
        Print("caption " + name + " " + OneLine(TextOf(handle)));
    }

    void waitFile(const std::wstring& path, DWORD ms, const std::string& text) {
        const bool seen = WaitFor(ms, [&] {
            std::ifstream file(Utf8(path).c_str(), std::ios::binary);
            if (!file) {
                HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr);
                if (handle == INVALID_HANDLE_VALUE) return false;
                std::string content(65536, '\0');
                DWORD got = 0;
                ReadFile(handle, content.data(), static_cast<DWORD>(content.size()), &got, nullptr);
                CloseHandle(handle);
                return content.substr(0, got).find(text) != std::string::npos;
            }
            std::stringstream content;
            content << file.rdbuf();
            return content.str().find(text) != std::string::npos;
        });
        Print(seen ? "file has " + text : "timeout waiting for file " + text);
    }

    // The main thread's times: the program waits for its tools on that thread.
    // (Wine reports no process times for other processes, but thread times.)
    static ULONGLONG ProcessorMs(HANDLE thread) {
        FILETIME created{}, ended{}, kernel{}, user{};
        GetThreadTimes(thread, &created, &ended, &kernel, &user);
        const auto ticks = [](const FILETIME& time) {
            return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
        };
        return (ticks(kernel) + ticks(user)) / 10000;
    }

    // A measurement over a fixed span of time: the span is what is measured.
    void cpu(DWORD ms, DWORD limitMs) {
        const ULONGLONG before = ProcessorMs(target.thread);
        WaitForSingleObject(target.process, ms);
        const ULONGLONG used = ProcessorMs(target.thread) - before;
        Print(used <= limitMs ? "cpu low" : "cpu high " + std::to_string(used) + " ms in " + std::to_string(ms));
    }

    void browse(DWORD ms, const std::wstring* path) {
        HWND dialog = nullptr;
        const bool open = WaitFor(ms, [&] {
            for (HWND candidate : ProcessDialogs(target.processId)) {
                if (HasChildOfClass(candidate, L"SysTreeView32")) dialog = candidate;
            }
            return dialog != nullptr;
        });
        if (!open) {
            fail("no folder dialog");
            return;
        }
        Print("browse dialog open");
        if (path && !BrowseSelect(target, dialog, *path)) fail("folder not found " + Utf8(*path));
        const int button = path ? IDOK : IDCANCEL;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        if (!WaitFor(10000, [&] { return !IsWindow(dialog); })) fail("folder dialog stays open");
        else Print("browse dialog closed");
    }

    void exited(DWORD ms) {
        if (WaitForSingleObject(target.process, ms) != WAIT_OBJECT_0) {
            Print("running");
            return;
        }
        DWORD code = 0;
        GetExitCodeProcess(target.process, &code);
        Print("exited " + std::to_string(code));
    }

    void post(UINT message, WPARAM wParam) {
        if (target.window) PostMessageW(target.window, message, wParam, 0);
        else fail("no window");
    }

    // The window handles the command before this returns; the program's
    // message loop (or its wait for a tool) answers sent messages.
    void send(UINT message, WPARAM wParam) {
        DWORD_PTR result = 0;
        if (!target.window) fail("no window");
        else if (!SendMessageTimeoutW(target.window, message, wParam, 0, SMTO_NORMAL, 10000, &result)) fail("no answer");
    }

    void waitText(const std::string& name, DWORD ms, const std::wstring& text) {
        HWND handle = control(name);
        if (!handle) return;
        if (!WaitFor(ms, [&] { return TextOf(handle) == text; })) Print("timeout waiting for " + name + " " + Utf8(text));
        Print("text " + name + " " + OneLine(TextOf(handle)));
    }

    // Asks the program, as the system does when the user logs off, whether the
    // session may end; its answer is printed, nothing ends.
    void queryEnd() {
        DWORD_PTR answer = 1;
        if (!SendMessageTimeoutW(target.window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer))
            fail("no answer to the end of the session");
        else Print(answer == FALSE ? "queryend refused" : "queryend allowed");
    }

    // Waits for the program under test to end, watching that no window
    // titled "Orvanta", of any process, shows meanwhile.
    // Any process's: the command line's hidden session window doesn't count.
    static bool VisibleWindowTitledOrvanta() {
        HWND found = nullptr;
        while ((found = FindWindowExW(nullptr, found, nullptr, L"Orvanta")) != nullptr) {
            if (IsWindowVisible(found)) return true;
        }
        return false;
    }

    void noWindow(DWORD ms) {
        bool seen = false;
        WaitFor(ms, [&] {
            seen = seen || VisibleWindowTitledOrvanta();
            return WaitForSingleObject(target.process, 0) == WAIT_OBJECT_0;
        });
        Print(seen ? "window seen" : "no window");
    }

    // Prints a UTF-8 text file of the sandbox, a line each, line ends dropped.
    void printFile(const std::wstring& path) {
        std::ifstream file(Utf8(path).c_str(), std::ios::binary);
        if (!file) {
            Print("no file " + Utf8(path));
            return;
        }
        std::string line;
        while (std::getline(file, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            Print(line);
        }
    }

    void cue(const std::string& name) {
        RECT outer{};
        GetWindowRect(target.window, &outer);
        Print("cue " + name + " " + std::to_string(outer.right - outer.left) + "x" +
              std::to_string(outer.bottom - outer.top) + "+" + std::to_string(outer.left) + "+" +
              std::to_string(outer.top));
    }

    void run(const std::string& line);
};

std::wstring Rest(std::istringstream& words) {
    std::string rest;
    std::getline(words, rest);
    if (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
    return Wide(rest);
}

void Driver::run(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command.empty() || command[0] == '#') return;
    DWORD ms = 0;
    std::string name;
    if (command == "launch") launch(Rest(words));
    else if (command == "window") { words >> ms; window(ms); }
    else if (command == "shown") { words >> ms; shown(ms); }
    else if (command == "controls") { for (const char* each : Names) showControl(each); }
    else if (command == "show") { words >> name; showControl(name); }
    else if (command == "click") {
        words >> name;
        if (HWND handle = control(name)) PostMessageW(handle, BM_CLICK, 0, 0);
    } else if (command == "rename") {
        // Changes the sandbox between two scans, as a technician might.
        std::string from, to;
        words >> from >> to;
        if (!MoveFileW(Wide(from).c_str(), Wide(to).c_str())) fail("rename " + std::to_string(GetLastError()));
        else Print("renamed " + from);
    } else if (command == "sendclick") {
        // For controls whose click handler returns at once: done when this returns.
        words >> name;
        DWORD_PTR result = 0;
        if (HWND handle = control(name)) SendMessageTimeoutW(handle, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
    } else if (command == "settext") {
        words >> name;
        const std::wstring text = Rest(words);
        DWORD_PTR result = 0;
        if (HWND handle = control(name))
            SendMessageTimeoutW(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, &result);
    } else if (command == "select") {
        int index = 0;
        words >> name >> index;
        DWORD_PTR result = 0;
        if (HWND handle = control(name))
            SendMessageTimeoutW(handle, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 5000, &result);
    }
    else if (command == "maximize") send(WM_SYSCOMMAND, SC_MAXIMIZE);
    else if (command == "minimize") send(WM_SYSCOMMAND, SC_MINIMIZE);
    else if (command == "restore") send(WM_SYSCOMMAND, SC_RESTORE);
    else if (command == "close") post(WM_CLOSE, 0);
    else if (command == "sysclose") post(WM_SYSCOMMAND, SC_CLOSE);
    else if (command == "size") size();
    else if (command == "waitsize") { words >> ms; waitSize(ms); }
    else if (command == "message") { words >> ms; message(ms); }
    else if (command == "waitmessage") { words >> ms; waitMessage(ms); }
    else if (command == "dismiss") dismiss(messageBox());
    else if (command == "waittext") { words >> name >> ms; waitText(name, ms, Rest(words)); }
    else if (command == "nomessage") noMessage();
    else if (command == "waitcaption") { words >> name >> ms; waitCaption(name, ms, Rest(words)); }
    else if (command == "waitfile") {
        std::string path;
        words >> path >> ms;
        waitFile(Wide(path), ms, Utf8(Rest(words)));
    } else if (command == "cpu") {
        DWORD limit = 0;
        words >> ms >> limit;
        cpu(ms, limit);
    } else if (command == "browse") {
        words >> ms;
        const std::wstring path = Rest(words);
        browse(ms, &path);
    } else if (command == "browse-cancel") { words >> ms; browse(ms, nullptr); }
    else if (command == "exited") { words >> ms; exited(ms); }
    else if (command == "runwait") { words >> ms; runWait(ms, Rest(words)); }
    else if (command == "echo") Print(Utf8(Rest(words)));
    else if (command == "cue") { words >> name; cue(name); }
    else if (command == "queryend") queryEnd();
    else if (command == "launch-detached") launch(Rest(words), DETACHED_PROCESS);
    else if (command == "launch-console") launch(Rest(words), CREATE_NEW_CONSOLE);
    else if (command == "nowindow") { words >> ms; noWindow(ms); }
    else if (command == "print") printFile(Rest(words));
    else if (command == "kill") {
        if (target.process && WaitForSingleObject(target.process, 0) == WAIT_TIMEOUT) TerminateProcess(target.process, 1);
    } else fail("unknown command " + command);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    std::string script(1 << 20, '\0');
    DWORD got = 0;
    ReadFile(file, script.data(), static_cast<DWORD>(script.size()), &got, nullptr);
    CloseHandle(file);
    script.resize(got);
    Driver driver;
    std::istringstream lines(script);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        driver.run(line);
    }
    // The program never outlives its script.
    if (driver.target.process && WaitForSingleObject(driver.target.process, 0) == WAIT_TIMEOUT)
        TerminateProcess(driver.target.process, 1);
    return driver.failed ? 1 : 0;
}
