#pragma once
// The main window and its controls as the program's logic sees them. Lengths
// are twips; texts are UTF-8.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

enum class WindowState : std::int16_t { Normal = 0, Minimized = 1, Maximized = 2 };

class WindowFrame {
public:
    virtual ~WindowFrame() = default;
    virtual WindowState state() = 0;
    // Setting the state, the width or the height raises the window's resize
    // event before returning, as the window system does.
    virtual void setState(WindowState state) = 0;
    virtual float outerHeight() = 0;
    virtual float clientHeight() = 0;
    virtual void setOuterWidth(std::int32_t twips) = 0;
    virtual void setOuterHeight(std::int32_t twips) = 0;
    virtual std::uintptr_t handle() = 0;
    // Asks the window to close, as the user's close command does.
    virtual void requestClose() = 0;
};

// A drop-down list: the user picks one entry and can't type other text.
class DropDownList {
public:
    virtual ~DropDownList() = default;
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

struct MainControls {
    WindowFrame& window;
    DropDownList& installationList;
    TextBox& bootPartitionBox;
    CheckBox& makeDefaultCheckBox;
    Button& browseButton;
    Button& repairButton;
    Label& statusLine;
    Label& firmwareLine; // the caption of the status frame
};

// The selected entry of a drop-down list, or "" when none is selected.
std::string SelectedText(DropDownList& list);

// Selects the entry whose text equals `text` exactly; false when none does.
bool SelectText(DropDownList& list, const std::string& text);

// Replaces the entries of the list; nothing is selected afterwards.
void ShowEntries(DropDownList& list, const std::vector<std::string>& entries);

} // namespace orvanta
