#pragma once
// The controls of the main window as the core sees them, over their HWNDs.
#include <windows.h>

#include "app/window/MainControls.h"

namespace orvanta::win32 {

// The window text of any window, as UTF-8.
std::string TextOfWindow(HWND window);
void SetTextOfWindow(HWND window, const std::string& text);

// Enables or disables a control. A control that loses its input while it has
// the focus passes the focus on first, so the keyboard keeps working.
void EnableControl(HWND control, bool enabled);

class Win32Control {
public:
    void attach(HWND window) { window_ = window; }
    HWND window() const { return window_; }

protected:
    ~Win32Control() = default;
    HWND window_ = nullptr;
};

class Win32DropDownList final : public DropDownList, public Win32Control {
public:
    void clear() override;
    void add(const std::string& entry) override;
    int count() override;
    std::string entry(int index) override;
    int selectedIndex() override;
    void select(int index) override;
    void setEnabled(bool enabled) override;
};

class Win32TextBox final : public TextBox, public Win32Control {
public:
    std::string text() override;
    void setText(const std::string& text) override;
    void setEnabled(bool enabled) override;
};

class Win32Button final : public Button, public Win32Control {
public:
    std::string caption() override;
    void setCaption(const std::string& caption) override;
    void setEnabled(bool enabled) override;
};

class Win32CheckBox final : public CheckBox, public Win32Control {
public:
    bool checked() override;
};

// A label that grows and shrinks with its text.
class Win32Label final : public Label, public Win32Control {
public:
    void setCaption(const std::string& caption) override;
};

// The caption of a group box: it keeps its size, the text sits in its border.
class Win32FrameCaption final : public Label, public Win32Control {
public:
    void setCaption(const std::string& caption) override;
};

// Sizes a static control to its text (one line, or one per line end in it), keeping its top-left corner.
void FitLabelToText(HWND label);

} // namespace orvanta::win32
