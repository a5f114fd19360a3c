#pragma once
// The window and the controls of Form1 as the program's logic sees them.
// Lengths are twips; texts are UTF-8.
#include <cstdint>
#include <string>

namespace orvanta {

enum WindowState : std::int16_t { StateNormal = 0, StateMinimized = 1, StateMaximized = 2 };

class FormWindow {
public:
    virtual ~FormWindow() = default;
    virtual WindowState state() = 0;
    // Setting the state, the width or the height raises the window's resize
    // event before returning, as the window system does.
    virtual void setState(WindowState state) = 0;
    virtual float outerHeight() = 0;
    virtual float clientHeight() = 0;
    virtual void setOuterWidth(std::int32_t twips) = 0;
    virtual void setOuterHeight(std::int32_t twips) = 0;
    virtual std::uintptr_t handle() = 0;
};

// A drop-down list: the user picks one entry and can't type other text.
class ComboBox {
public:
    virtual ~ComboBox() = default;
    virtual void clear() = 0;
    virtual void add(const std::string& entry) = 0;
    virtual int count() = 0;
    virtual std::string entry(int index) = 0;
    virtual int selectedIndex() = 0; // -1 when nothing is selected
    virtual void select(int index) = 0;
    virtual void setEnabled(bool enabled) = 0;
};

class TextBox {
public:
    virtual ~TextBox() = default;
    virtual std::string text() = 0;
    virtual void setText(const std::string& text) = 0;
    virtual void setEnabled(bool enabled) = 0;
};

class Button {
public:
    virtual ~Button() = default;
    virtual std::string caption() = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setEnabled(bool enabled) = 0;
};

class CheckBox {
public:
    virtual ~CheckBox() = default;
    virtual bool checked() = 0;
};

class Label {
public:
    virtual ~Label() = default;
    virtual void setCaption(const std::string& caption) = 0;
};

struct FormControls {
    FormWindow& window;
    ComboBox& RDriver;
    TextBox& Text1;
    CheckBox& Check1;
    Button& Command1;
    Button& Command4;
    Label& Status;
};

// The text of a drop-down list: its selected entry, or "" when none is selected.
std::string selectedText(ComboBox& list);

// Selects the entry whose text equals `text` exactly; false when none does.
bool selectText(ComboBox& list, const std::string& text);

} // namespace orvanta
