#pragma once
// COM objects created by identifier text, and interface operations called by slot.
#include "platform/shell/ComObjects.h"

namespace orvanta::win32 {

class Win32Com final : public ComObjects {
public:
    ComPointer createInstance(const std::string& classId, const std::string& interfaceId) override;
    std::int32_t callSlot(ComPointer object, std::uint32_t slot,
                          const std::vector<std::int32_t>& arguments) override;
};

} // namespace orvanta::win32
