// The names of the firmware's variables as the system might list them: every
// name read is valid UTF-8 and, written again as records, fits the input;
// a name taken for a boot entry is "Boot" and its number in four upper-case
// hexadecimal digits.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "discovery/firmware/VariableNames.h"
#include "fuzz/FuzzRules.h"

namespace {

// UTF-16 code units of well-formed UTF-8: one per code point, two above U+FFFF.
std::size_t Utf16Units(const std::string& text) {
    std::size_t units = 0;
    for (const char byte : text) {
        const auto lead = static_cast<unsigned char>(byte);
        if ((lead & 0xC0) != 0x80) units += lead >= 0xF0 ? 2 : 1;
    }
    return units;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvanta;
    const VariableNameList list = ParseVariableNames(std::span(data, size));
    std::size_t least = 0; // the bytes the names need at the least: header, units, zero
    for (const VariableName& variable : list.names) {
        fuzz::Require(fuzz::IsWellFormedUtf8(variable.name));
        least += VariableNameHeaderSize + 2 * Utf16Units(variable.name) + 2;
        if (const auto number = BootEntryNumberOf(variable.name)) {
            char expected[16];
            std::snprintf(expected, sizeof expected, "Boot%04X", static_cast<unsigned>(*number));
            fuzz::Require(variable.name == expected);
        }
    }
    fuzz::Require(least <= size);
    return 0;
}
