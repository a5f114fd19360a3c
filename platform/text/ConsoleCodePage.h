#pragma once
// The code page console programs write in when their output goes to a file or
// a pipe: the system's OEM code page (936 on Chinese systems).
#include <optional>
#include <string>
#include <string_view>

namespace orvanta {

class ConsoleCodePage {
public:
    virtual ~ConsoleCodePage() = default;
    // The bytes as UTF-8; nothing when they are not valid in that code page.
    virtual std::optional<std::string> toUtf8(std::string_view bytes) = 0;
};

} // namespace orvanta
