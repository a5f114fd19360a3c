#pragma once
// How the command line writes to its console: lines, and a message box's
// title and text.
#include <string>

#include "app/texts/LogLines.h"
#include "platform/shell/MessageBoxes.h"
#include "platform/text/TextOutput.h"

namespace orvanta {

inline void WriteLines(TextOutput& output, const LogLines& lines) {
    output.write(WithCrLf(lines));
}

// The title on its own line, as a box shows it above the text.
inline void WriteMessage(TextOutput& output, const Message& message) {
    std::string text = message.title + "\r\n" + message.text;
    if (!text.ends_with("\r\n")) text += "\r\n";
    output.write(text);
}

} // namespace orvanta
