#pragma once
// The 32-bit x86 code that calls one operation of a COM interface by its slot.
#include <cstdint>
#include <vector>

namespace orvanta {

// The code that calls operation `slot` of the interface at `object` with
// `arguments`: 5n + 18 bytes for n arguments. The operation removes its own
// arguments; the code returns the operation's result in eax.
std::vector<std::uint8_t> BuildCallThunk(std::uint32_t object, std::uint32_t slot,
                                         const std::vector<std::int32_t>& arguments);

} // namespace orvanta
