#pragma once
// Modal message boxes with a single OK button.
#include <string>

namespace orvanta {

inline constexpr int StyleError = 16;       // error icon, OK
inline constexpr int StyleInformation = 64; // information icon, OK

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box and returns when the user has dismissed it.
    virtual void show(const std::string& text, const std::string& title, int style) = 0;
};

} // namespace orvanta
