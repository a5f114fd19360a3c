// A boot entry's bytes as the firmware might hold them: the nodes read lie
// one after another within the device path, inside the input, and the texts
// are valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzRules.h"
#include "discovery/firmware/LoadOption.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    const LoadOption option = ParseLoadOption(std::span(data, size));
    if (!fuzz::IsWellFormedUtf8(option.description)) __builtin_trap();
    std::size_t expected = option.path.empty() ? 0 : option.path.front().offset;
    for (const DevicePathNode& node : option.path) {
        if (node.offset != expected || node.offset < LoadOptionHeaderSize) __builtin_trap();
        if (node.length < NodeHeaderSize || node.length > size - node.offset) __builtin_trap();
        if (node.type != data[node.offset] || node.subtype != data[node.offset + 1]) __builtin_trap();
        if (node.filePath && !fuzz::IsWellFormedUtf8(*node.filePath)) __builtin_trap();
        expected = node.offset + node.length;
    }
    const bool ended = !option.path.empty() && option.path.back().type == EndNodeType;
    if (option.fault == LoadOptionFault::None && !ended) __builtin_trap();
    if (option.optionalDataSize > size - expected) __builtin_trap();
    return 0;
}
