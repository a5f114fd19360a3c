// A db or dbx variable as the firmware might hold it: the lists read follow
// one another from the start, each entry lies inside its list and is the
// input's own bytes, and an undamaged answer covers the whole input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "discovery/firmware/SignatureList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    const SignatureLists read = ParseSignatureLists(std::span(data, size));
    std::size_t expected = 0;
    for (const SignatureList& list : read.lists) {
        if (list.offset != expected || list.size > size - list.offset) __builtin_trap();
        for (const SignatureEntry& entry : list.entries) {
            if (entry.offset < list.offset + SignatureListHeaderSize + SignatureOwnerSize) __builtin_trap();
            if (entry.data.size() > list.offset + list.size - entry.offset) __builtin_trap();
            if (!std::equal(entry.data.begin(), entry.data.end(), data + entry.offset)) __builtin_trap();
        }
        expected = list.offset + list.size;
    }
    if (!read.damaged && expected != size) __builtin_trap();
    return 0;
}
