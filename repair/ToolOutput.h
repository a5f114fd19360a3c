#pragma once
// What a tool wrote, as text: console programs write in the console's code
// page when their output goes to a file, some in UTF-16.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ConsoleCodePage.h"

namespace orvanta {

// UTF-16 when the bytes start with a byte-order mark or plainly are UTF-16
// (zero bytes in every high half of ASCII characters, none elsewhere); UTF-8
// after its byte-order mark; else the console's code page, and UTF-8 when
// the bytes are not valid in that code page. Never fails: what can't be
// decoded becomes U+FFFD.
std::string DecodeToolOutput(std::string_view bytes, ConsoleCodePage& codePage);

// The last `count` lines that hold more than blanks, trimmed, in order.
std::vector<std::string> LastLines(std::string_view text, std::size_t count);

} // namespace orvanta
