#pragma once
// COM objects created by identifier text, and their operations called by slot.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

// An interface pointer as an integer; 0 when there is none.
using ComPointer = std::uintptr_t;

class ComObjects {
public:
    virtual ~ComObjects() = default;
    // Creates an in-process object from the class identifier text and asks it
    // for the interface named by the interface identifier text; 0 on failure.
    virtual ComPointer createInstance(const std::string& classId, const std::string& interfaceId) = 0;

    // Calls the operation in `slot` of the interface's operation table with the
    // 32-bit arguments after the interface pointer; returns its 32-bit result.
    virtual std::int32_t callSlot(ComPointer object, std::uint32_t slot,
                                  const std::vector<std::int32_t>& arguments) = 0;
};

} // namespace orvanta
