#include "win32/Win32FormWindow.h"

namespace orvanta::win32 {

WindowState Win32FormWindow::state() {
    if (IsIconic(window_) != FALSE) return StateMinimized;
    if (IsZoomed(window_) != FALSE) return StateMaximized;
    return StateNormal;
}

void Win32FormWindow::setState(WindowState wanted) {
    switch (wanted) {
    case StateNormal:
        ShowWindow(window_, SW_RESTORE);
        break;
    case StateMinimized:
        ShowWindow(window_, SW_MINIMIZE);
        break;
    case StateMaximized:
        ShowWindow(window_, SW_MAXIMIZE);
        break;
    }
}

float Win32FormWindow::outerHeight() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    return dpi_.twipsY(outer.bottom - outer.top);
}

float Win32FormWindow::clientHeight() {
    RECT client{};
    GetClientRect(window_, &client);
    return dpi_.twipsY(client.bottom - client.top);
}

void Win32FormWindow::setOuterWidth(std::int32_t twips) {
    RECT outer{};
    GetWindowRect(window_, &outer);
    resize(dpi_.pixelsX(twips), outer.bottom - outer.top);
}

void Win32FormWindow::setOuterHeight(std::int32_t twips) {
    RECT outer{};
    GetWindowRect(window_, &outer);
    resize(outer.right - outer.left, dpi_.pixelsY(twips));
}

std::uintptr_t Win32FormWindow::handle() {
    return reinterpret_cast<std::uintptr_t>(window_);
}

void Win32FormWindow::resize(int width, int height) {
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace orvanta::win32
