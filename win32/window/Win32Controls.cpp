#include "win32/window/Win32Controls.h"

#include <vector>

#include "win32/base/Utf.h"

namespace orvanta::win32 {

std::string TextOfWindow(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    return Narrow(text.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void SetTextOfWindow(HWND window, const std::string& text) {
    SetWindowTextW(window, Widen(text).c_str());
}

void EnableControl(HWND control, bool enabled) {
    if (!enabled && GetFocus() == control) {
        const HWND next = GetNextDlgTabItem(GetParent(control), control, FALSE);
        if (next != nullptr && next != control) SetFocus(next);
    }
    EnableWindow(control, enabled ? TRUE : FALSE);
}

void Win32DropDownList::clear() {
    SendMessageW(window_, CB_RESETCONTENT, 0, 0);
}

void Win32DropDownList::add(const std::string& entry) {
    const std::wstring text = Widen(entry);
    SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int Win32DropDownList::count() {
    const LRESULT count = SendMessageW(window_, CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int>(count) : 0;
}

std::string Win32DropDownList::entry(int index) {
    const LRESULT length = SendMessageW(window_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(window_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    return Narrow(text.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

int Win32DropDownList::selectedIndex() {
    const LRESULT index = SendMessageW(window_, CB_GETCURSEL, 0, 0);
    return index >= 0 ? static_cast<int>(index) : -1;
}

void Win32DropDownList::select(int index) {
    SendMessageW(window_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32DropDownList::setEnabled(bool enabled) {
    EnableControl(window_, enabled);
}

std::string Win32TextBox::text() {
    return TextOfWindow(window_);
}

void Win32TextBox::setText(const std::string& text) {
    SetTextOfWindow(window_, text);
}

void Win32TextBox::setEnabled(bool enabled) {
    EnableControl(window_, enabled);
}

std::string Win32Button::caption() {
    return TextOfWindow(window_);
}

void Win32Button::setCaption(const std::string& caption) {
    SetTextOfWindow(window_, caption);
}

void Win32Button::setEnabled(bool enabled) {
    EnableControl(window_, enabled);
}

bool Win32CheckBox::checked() {
    return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Label::setCaption(const std::string& caption) {
    SetTextOfWindow(window_, caption);
    FitLabelToText(window_);
}

void Win32FrameCaption::setCaption(const std::string& caption) {
    SetTextOfWindow(window_, caption);
}

void FitLabelToText(HWND label) {
    const HDC context = GetDC(label);
    if (context == nullptr) return;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font != nullptr ? SelectObject(context, font) : nullptr;
    const int length = GetWindowTextLengthW(label);
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(label, text.data(), length + 1);
    // Lines break only at the text's own line ends (the status line's locked
    // drives stand on a second line): as wide as the widest, as tall as all.
    RECT bounds{};
    DrawTextW(context, text.data(), -1, &bounds, DT_CALCRECT | DT_NOPREFIX);
    if (previous != nullptr) SelectObject(context, previous);
    ReleaseDC(label, context);
    SetWindowPos(label, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace orvanta::win32
