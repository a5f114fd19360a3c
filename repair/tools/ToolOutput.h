#pragma once
// What a tool wrote, as text: console programs write in the console's code
// page when their output goes to a file, some in UTF-16.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/ConsoleCodePage.h"

namespace orvanta {

// UTF-16 after its byte-order mark, UTF-8 after its own; without one, UTF-16
// when the whole output reads as UTF-16 text and worse as 8-bit text (see
// ToolOutput.cpp), else the console's code page, and UTF-8 when the bytes are
// not valid in that code page. Never fails, and the answer is always valid
// UTF-8: what can't be decoded becomes U+FFFD.
std::string DecodeToolOutput(std::string_view bytes, ConsoleCodePage& codePage);

// The last `count` lines that hold more than blanks, trimmed, in order. CR,
// LF and CRLF each end a line.
std::vector<std::string> LastLines(std::string_view text, std::size_t count);

} // namespace orvanta
