#include "fakes/FakeControls.h"

namespace orvanta {
namespace {

std::string Flag(bool value) {
    return value ? "1" : "0";
}

} // namespace

void FakeWindowFrame::resized() {
    journal_.add("resize");
    if (onResize) onResize();
}

void FakeWindowFrame::setState(WindowState state) {
    journal_.add("state " + std::to_string(static_cast<int>(state)));
    if (state == state_) return;
    state_ = state;
    resized();
}

void FakeWindowFrame::setOuterWidth(std::int32_t twips) {
    journal_.add("width " + std::to_string(twips));
    if (twips == width) return;
    width = twips;
    resized();
}

void FakeWindowFrame::setOuterHeight(std::int32_t twips) {
    journal_.add("height " + std::to_string(twips));
    if (twips == height) return;
    height = twips;
    resized();
}

void FakeWindowFrame::userState(WindowState state) {
    journal_.add("user state " + std::to_string(static_cast<int>(state)));
    state_ = state;
    resized();
}

void FakeDropDownList::clear() {
    journal_.add("clear " + name_);
    entries.clear();
    selected = -1;
}

void FakeDropDownList::add(const std::string& entry) {
    journal_.add("add " + name_ + " " + entry);
    entries.push_back(entry);
}

void FakeDropDownList::select(int index) {
    journal_.add("select " + name_ + " " + std::to_string(index));
    selected = index >= 0 && index < count() ? index : -1;
}

void FakeDropDownList::setEnabled(bool enabled) {
    journal_.add("enable " + name_ + " " + Flag(enabled));
}

void FakeTextBox::setText(const std::string& text) {
    journal_.add("text " + name_ + " " + text);
    value = text;
}

void FakeTextBox::setEnabled(bool enabled) {
    journal_.add("enable " + name_ + " " + Flag(enabled));
}

void FakeButton::setCaption(const std::string& caption) {
    journal_.add("caption " + name_ + " " + caption);
    label = caption;
}

void FakeButton::setEnabled(bool enabled) {
    journal_.add("enable " + name_ + " " + Flag(enabled));
}

void FakeLabel::setCaption(const std::string& caption) {
    journal_.add("caption " + name_ + " " + caption);
    label = caption;
}

} // namespace orvanta
