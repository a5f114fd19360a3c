#include "discovery/UefiBootState.h"

#include <algorithm>

#include "discovery/LittleEndian.h"
#include "platform/TextEncodings.h"

namespace orvanta {
namespace {

// A variable read and turned into a value by `parse` when there was no error.
template <typename Parse>
auto ReadAs(Firmware& firmware, std::string_view name, std::string_view vendor, Parse parse) {
    const FirmwareVariable variable = ReadFirmwareVariable(firmware, std::string(name), std::string(vendor));
    VariableReading<decltype(parse(variable.bytes))> reading;
    reading.error = variable.error;
    if (variable.error == 0) reading.value = parse(variable.bytes);
    return reading;
}

std::optional<bool> FlagOf(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != 1 || bytes[0] > 1) return std::nullopt;
    return bytes[0] == 1;
}

std::vector<std::uint16_t> NumbersOf(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint16_t> numbers;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        numbers.push_back(ReadLittleEndian16(bytes, at));
    }
    return numbers;
}

std::optional<std::uint16_t> NumberOf(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != 2) return std::nullopt;
    return ReadLittleEndian16(bytes, 0);
}

} // namespace

std::string BootEntryName(std::uint16_t number) {
    return "Boot" + UpperHexDigits(number, 4);
}

UefiBootState ReadUefiBootState(Firmware& firmware) {
    UefiBootState state;
    state.secureBoot = ReadAs(firmware, "SecureBoot", GlobalVariableVendor, FlagOf);
    state.setupMode = ReadAs(firmware, "SetupMode", GlobalVariableVendor, FlagOf);
    state.bootOrder = ReadAs(firmware, "BootOrder", GlobalVariableVendor, NumbersOf);
    state.bootCurrent = ReadAs(firmware, "BootCurrent", GlobalVariableVendor, NumberOf);
    std::vector<std::uint16_t> numbers;
    for (const std::uint16_t number : state.bootOrder.value) {
        if (numbers.size() == MostBootEntriesRead) break;
        if (std::find(numbers.begin(), numbers.end(), number) == numbers.end()) numbers.push_back(number);
    }
    for (const std::uint16_t number : numbers) {
        state.entries.push_back({number, ReadAs(firmware, BootEntryName(number), GlobalVariableVendor, ParseLoadOption)});
    }
    state.db = ReadAs(firmware, "db", ImageSecurityVendor, ReadSecureBootDatabase);
    state.dbx = ReadAs(firmware, "dbx", ImageSecurityVendor, ReadSecureBootDatabase);
    return state;
}

} // namespace orvanta
