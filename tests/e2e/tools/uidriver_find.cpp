// Finding the windows and controls of the program under test.
#include <algorithm>
#include <cstdio>

#include "uidriver.h"

namespace uidriver {

std::string OneLine(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        if (text[i] == L'\n' || text[i] == L'\r') out += L"\\n";
        else out += text[i];
    }
    return Utf8(out);
}

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"<no answer>";
    std::vector<wchar_t> buffer(length + 2, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    return std::wstring(buffer.data());
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

bool IsButtonKind(const Control& control, LONG kind) {
    return _wcsicmp(control.className.c_str(), L"Button") == 0 && (control.style & BS_TYPEMASK) == kind;
}

bool ByTop(const Control& a, const Control& b) {
    return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
}

} // namespace

std::vector<Control> ChildControls(HWND parent) {
    std::vector<HWND> handles;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&handles));
    std::vector<Control> controls;
    for (HWND handle : handles) {
        Control control;
        control.handle = handle;
        control.className = ClassOf(handle);
        control.style = GetWindowLongW(handle, GWL_STYLE);
        GetWindowRect(handle, &control.rect);
        controls.push_back(control);
    }
    std::sort(controls.begin(), controls.end(), ByTop);
    return controls;
}

// browseButton is the upper push button and repairButton the lower one; statusLine is the
// uppermost label that is neither of the two input labels.
HWND FindNamedControl(HWND window, const std::string& name) {
    const std::vector<Control> controls = ChildControls(window);
    std::vector<HWND> pushButtons;
    std::vector<HWND> statics;
    std::vector<HWND> frames;
    for (const Control& control : controls) {
        const bool push = IsButtonKind(control, BS_PUSHBUTTON) || IsButtonKind(control, BS_DEFPUSHBUTTON);
        if (push) pushButtons.push_back(control.handle);
        if (IsButtonKind(control, BS_GROUPBOX)) frames.push_back(control.handle);
        if ((name == "makeDefaultCheckBox") && (IsButtonKind(control, BS_AUTOCHECKBOX) || IsButtonKind(control, BS_CHECKBOX)))
            return control.handle;
        if (name == "bootPartitionBox" && _wcsicmp(control.className.c_str(), L"Edit") == 0 &&
            _wcsicmp(ClassOf(GetParent(control.handle)).c_str(), L"ComboBox") != 0)
            return control.handle;
        if (name == "installationList" && _wcsicmp(control.className.c_str(), L"ComboBox") == 0) return control.handle;
        if (_wcsicmp(control.className.c_str(), L"Static") == 0 && (control.style & SS_TYPEMASK) != SS_ICON) {
            const std::wstring text = TextOf(control.handle);
            if (text != L"引导盘：" && text != L"系统盘：") statics.push_back(control.handle);
        }
    }
    if (name == "browseButton" && !pushButtons.empty()) return pushButtons.front();
    if (name == "repairButton" && pushButtons.size() >= 2) return pushButtons[1];
    if (name == "statusLine" && !statics.empty()) return statics.front();
    if (name == "firmwareLine" && frames.size() >= 2) return frames[1]; // the middle frame's caption
    return nullptr;
}

namespace {

struct DialogSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && ClassOf(window) == L"#32770")
        search->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> ProcessDialogs(DWORD processId) {
    DialogSearch search{processId, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HasChildOfClass(HWND parent, const wchar_t* className) {
    for (const Control& control : ChildControls(parent)) {
        if (_wcsicmp(control.className.c_str(), className) == 0) return true;
    }
    return false;
}

} // namespace uidriver
