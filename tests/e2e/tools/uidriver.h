// Shared pieces of the UI driver: the program under test, text helpers and
// the waits that every command uses.
#pragma once
#include <windows.h>

#include "Utf.h"

#include <string>
#include <vector>

namespace uidriver {

using e2etext::Utf8;
using e2etext::Wide;
// One-line form of a text: CR LF and LF become the two characters \n.
std::string OneLine(const std::wstring& text);

void Print(const std::string& line);

// Calls until the condition holds or the timeout (ms) runs out; the waits
// between checks are short so that a change is seen at once.
template <typename Condition>
bool WaitFor(DWORD timeoutMs, Condition condition) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

struct Target {
    HANDLE process = nullptr;
    HANDLE thread = nullptr;
    DWORD processId = 0;
    HWND window = nullptr;
};

// The text of a window of another process, asked through WM_GETTEXT.
std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);

struct Control {
    HWND handle = nullptr;
    std::wstring className;
    std::wstring text;
    LONG style = 0;
    RECT rect{};
};

// The main window's controls by the names the program gives them.
HWND FindNamedControl(HWND window, const std::string& name);
std::vector<Control> ChildControls(HWND parent);

// Top-level dialogs (class #32770) of the process under test.
std::vector<HWND> ProcessDialogs(DWORD processId);
bool HasChildOfClass(HWND parent, const wchar_t* className);

// The folder dialog: selects the folder at a path and confirms, or cancels.
bool BrowseSelect(const Target& target, HWND dialog, const std::wstring& path);

} // namespace uidriver
