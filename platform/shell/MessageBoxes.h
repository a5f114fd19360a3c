#pragma once
// Modal message boxes: a note with an OK button, or a question with Yes and No.
#include <string>

namespace orvanta {

enum class MessageStyle : int {
    Error = 16,       // error icon
    Warning = 48,     // warning icon
    Information = 64, // information icon
};

struct Message {
    std::string text;
    std::string title;
    MessageStyle style = MessageStyle::Information;

    bool operator==(const Message&) const = default;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box and returns when the user has dismissed it.
    virtual void show(const Message& message) = 0;
    // Shows the box with the buttons Yes and No; true for Yes.
    virtual bool ask(const Message& message) = 0;
};

} // namespace orvanta
