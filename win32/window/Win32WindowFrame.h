#pragma once
// The main window as the core sees it: state and sizes in twips.
#include <windows.h>

#include "app/window/MainControls.h"
#include "win32/window/Twips.h"

namespace orvanta::win32 {

class Win32WindowFrame final : public WindowFrame {
public:
    explicit Win32WindowFrame(const ScreenDpi& dpi) : dpi_(dpi) {}
    void attach(HWND window) { window_ = window; }

    WindowState state() override;
    // ShowWindow and SetWindowPos send WM_SIZE, and so raise the resize
    // event, before they return.
    void setState(WindowState wanted) override;
    float outerHeight() override;
    float clientHeight() override;
    void setOuterWidth(std::int32_t twips) override;
    void setOuterHeight(std::int32_t twips) override;
    std::uintptr_t handle() override;
    void requestClose() override;

private:
    void resize(int width, int height);

    ScreenDpi dpi_;
    HWND window_ = nullptr;
};

} // namespace orvanta::win32
