#pragma once
// Console output in the OEM code page, as UTF-8.
#include "platform/text/ConsoleCodePage.h"

namespace orvanta::win32 {

class Win32ConsoleCodePage final : public ConsoleCodePage {
public:
    std::optional<std::string> toUtf8(std::string_view bytes) override;
};

} // namespace orvanta::win32
