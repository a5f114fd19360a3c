#include "platform/shell/CallThunk.h"

namespace orvanta {
namespace {

void AppendImmediate(std::vector<std::uint8_t>& code, std::uint32_t value) {
    for (unsigned shift = 0; shift < 32; shift += 8) {
        code.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

} // namespace

std::vector<std::uint8_t> BuildCallThunk(std::uint32_t object, std::uint32_t slot,
                                         const std::vector<std::int32_t>& arguments) {
    std::vector<std::uint8_t> code;
    code.reserve(5 * arguments.size() + 18);
    // push imm32 for each argument, the last first, so the first ends on top.
    for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument) {
        code.push_back(0x68);
        AppendImmediate(code, static_cast<std::uint32_t>(*argument));
    }
    code.push_back(0x68); // push the interface pointer, the hidden first argument
    AppendImmediate(code, object);
    code.push_back(0xA1); // mov eax, [object]: the operation table
    AppendImmediate(code, object);
    code.push_back(0xFF); // call dword ptr [eax + slot * 4]
    code.push_back(0x90);
    AppendImmediate(code, slot * 4);
    code.push_back(0xC3); // ret
    code.push_back(0x90); // nop filler
    return code;
}

} // namespace orvanta
