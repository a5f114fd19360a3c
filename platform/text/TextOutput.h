#pragma once
// Where the command-line mode writes what it has to say: the console it was
// started from, a redirected file or pipe, or (without either) a message box
// at the end.
#include <string>

namespace orvanta {

class TextOutput {
public:
    virtual ~TextOutput() = default;
    // UTF-8 text; lines end with "\r\n".
    virtual void write(const std::string& text) = 0;
};

} // namespace orvanta
