#pragma once
// The main window and its controls. Setters are journalled as
// "<what> <control> <value>"; the user's own actions are plain fields.
#include <functional>
#include <string>
#include <vector>

#include "app/window/MainControls.h"
#include "fakes/Journal.h"

namespace orvanta {

// Sizes in twips. Like the real window system it raises the resize event
// synchronously whenever a state or size change actually changes something.
class FakeWindowFrame : public WindowFrame {
public:
    explicit FakeWindowFrame(Journal& journal) : journal_(journal) {}

    WindowState state() override { return state_; }
    void setState(WindowState state) override;
    float outerHeight() override { return state_ == WindowState::Maximized ? screenHeight : static_cast<float>(height); }
    float clientHeight() override { return outerHeight() - frame; }
    void setOuterWidth(std::int32_t twips) override;
    void setOuterHeight(std::int32_t twips) override;
    std::uintptr_t handle() override { return 0x1234; }
    void requestClose() override { journal_.add("close requested"); }

    // The user minimises, maximises or restores the window.
    void userState(WindowState state);

    std::function<void()> onResize;
    float frame = 435;           // title bar and borders
    std::int32_t width = 6000;   // the normal outer size
    std::int32_t height = 2685;
    float screenHeight = 11520;

private:
    void resized();
    Journal& journal_;
    WindowState state_ = WindowState::Normal;
};

class FakeDropDownList : public DropDownList {
public:
    FakeDropDownList(Journal& journal, std::string name) : journal_(journal), name_(std::move(name)) {}
    void clear() override;
    void add(const std::string& entry) override;
    int count() override { return static_cast<int>(entries.size()); }
    std::string entry(int index) override { return entries.at(static_cast<std::size_t>(index)); }
    int selectedIndex() override { return selected; }
    void select(int index) override;
    void setEnabled(bool enabled) override;

    std::vector<std::string> entries;
    int selected = -1;

private:
    Journal& journal_;
    std::string name_;
};

class FakeTextBox : public TextBox {
public:
    FakeTextBox(Journal& journal, std::string name, std::string text)
        : value(std::move(text)), journal_(journal), name_(std::move(name)) {}
    std::string text() override { return value; }
    void setText(const std::string& text) override;
    void setEnabled(bool enabled) override;
    std::string value;

private:
    Journal& journal_;
    std::string name_;
};

class FakeButton : public Button {
public:
    FakeButton(Journal& journal, std::string name, std::string caption)
        : label(std::move(caption)), journal_(journal), name_(std::move(name)) {}
    std::string caption() override { return label; }
    void setCaption(const std::string& caption) override;
    void setEnabled(bool enabled) override;
    std::string label;

private:
    Journal& journal_;
    std::string name_;
};

class FakeCheckBox : public CheckBox {
public:
    bool checked() override { return value; }
    bool value = true;
};

class FakeLabel : public Label {
public:
    FakeLabel(Journal& journal, std::string name) : journal_(journal), name_(std::move(name)) {}
    void setCaption(const std::string& caption) override;
    std::string label;

private:
    Journal& journal_;
    std::string name_;
};

} // namespace orvanta
