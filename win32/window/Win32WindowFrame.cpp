#include "win32/window/Win32WindowFrame.h"

namespace orvanta::win32 {

WindowState Win32WindowFrame::state() {
    if (IsIconic(window_) != FALSE) return WindowState::Minimized;
    if (IsZoomed(window_) != FALSE) return WindowState::Maximized;
    return WindowState::Normal;
}

void Win32WindowFrame::setState(WindowState wanted) {
    switch (wanted) {
    case WindowState::Normal:
        ShowWindow(window_, SW_RESTORE);
        break;
    case WindowState::Minimized:
        ShowWindow(window_, SW_MINIMIZE);
        break;
    case WindowState::Maximized:
        ShowWindow(window_, SW_MAXIMIZE);
        break;
    }
}

float Win32WindowFrame::outerHeight() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    return dpi_.twipsY(outer.bottom - outer.top);
}

float Win32WindowFrame::clientHeight() {
    RECT client{};
    GetClientRect(window_, &client);
    return dpi_.twipsY(client.bottom - client.top);
}

void Win32WindowFrame::setOuterWidth(std::int32_t twips) {
    RECT outer{};
    GetWindowRect(window_, &outer);
    resize(dpi_.pixelsX(twips), outer.bottom - outer.top);
}

void Win32WindowFrame::setOuterHeight(std::int32_t twips) {
    RECT outer{};
    GetWindowRect(window_, &outer);
    resize(outer.right - outer.left, dpi_.pixelsY(twips));
}

std::uintptr_t Win32WindowFrame::handle() {
    return reinterpret_cast<std::uintptr_t>(window_);
}

void Win32WindowFrame::requestClose() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

void Win32WindowFrame::resize(int width, int height) {
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace orvanta::win32
