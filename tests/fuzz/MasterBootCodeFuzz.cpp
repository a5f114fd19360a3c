// Fuzzes the MBR boot-code classifier against rules read from the layout
// independently: only the 440 bytes of code count; empty means all zero; each
// loader's kind needs its own mark in the code (its name; Windows' stack
// set-up and TPM check).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "discovery/disks/MasterBootCode.h"

namespace {

using orvanta::MasterBootCodeKind;

bool CodeHas(const std::uint8_t* data, std::string_view mark) {
    const std::string_view code(reinterpret_cast<const char*>(data), 440);
    return code.find(mark) != std::string_view::npos;
}

void CheckMarks(const std::uint8_t* data, MasterBootCodeKind kind) {
    const bool zero = std::all_of(data, data + 440, [](std::uint8_t byte) { return byte == 0; });
    if (zero != (kind == MasterBootCodeKind::Empty)) __builtin_trap();
    if (CodeHas(data, "VeraCrypt") != (kind == MasterBootCodeKind::VeraCrypt)) __builtin_trap();
    if (kind == MasterBootCodeKind::TrueCrypt && !CodeHas(data, "TrueCrypt")) __builtin_trap();
    if (kind == MasterBootCodeKind::Grub && !CodeHas(data, "GRUB")) __builtin_trap();
    static constexpr std::uint8_t StackSetUp[7] = {0x33, 0xC0, 0x8E, 0xD0, 0xBC, 0x00, 0x7C};
    if (kind == MasterBootCodeKind::Windows && (!CodeHas(data, "TCPA") || std::memcmp(data, StackSetUp, 7) != 0)) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const MasterBootCodeKind kind = orvanta::ClassifyMasterBootCode(std::span(data, size));
    if (size < 440) {
        if (kind != MasterBootCodeKind::Unknown) __builtin_trap();
        return 0;
    }
    CheckMarks(data, kind);
    // The disk signature, the partition table and what lies past 512 bytes change nothing.
    std::vector<std::uint8_t> code(data, data + 440);
    code.resize(4096, 0x5A);
    if (orvanta::ClassifyMasterBootCode(code) != kind) __builtin_trap();
    return 0;
}
