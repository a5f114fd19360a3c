#include "discovery/firmware/UefiBootState.h"

#include <algorithm>

#include "discovery/bytes/LittleEndian.h"
#include "discovery/firmware/VariableNames.h"
#include "platform/errors/SystemErrors.h"
#include "platform/text/TextEncodings.h"

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

bool Contains(const std::vector<std::uint16_t>& numbers, std::uint16_t number) {
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

BootEntry ReadEntry(Firmware& firmware, std::uint16_t number) {
    return {number, ReadAs(firmware, BootEntryName(number), GlobalVariableVendor, ParseLoadOption)};
}

// The numbers of the Boot#### variables the system lists; nothing, with the
// error, when it can't list the names or the list is damaged.
std::optional<std::vector<std::uint16_t>> ListedBootNumbers(Firmware& firmware, std::uint32_t& error) {
    const FirmwareVariable listing = firmware.variableNames();
    error = listing.error;
    if (listing.error != 0) return std::nullopt;
    const VariableNameList list = ParseVariableNames(listing.bytes);
    if (list.damaged) {
        // Names after the fault are unknown: one of them may be a boot entry.
        error = InvalidDataError;
        return std::nullopt;
    }
    std::vector<std::uint16_t> numbers;
    for (const VariableName& variable : list.names) {
        const std::optional<std::uint16_t> number = BootEntryNumberOf(variable.name);
        if (number && GuidText(variable.vendor) == GlobalVariableVendor) numbers.push_back(*number);
    }
    return numbers;
}

// The numbers to look at besides BootOrder's: those the system lists, else
// Boot0000 to Boot00FF; each once, in order.
std::vector<std::uint16_t> OtherNumbers(Firmware& firmware, UefiBootState& state) {
    std::optional<std::vector<std::uint16_t>> numbers = ListedBootNumbers(firmware, state.nameListError);
    state.entrySearch = numbers ? BootEntrySearch::Listed : BootEntrySearch::Probed;
    if (!numbers) {
        numbers.emplace();
        for (unsigned number = 0; number <= LastProbedBootEntry; ++number) numbers->push_back(static_cast<std::uint16_t>(number));
    }
    std::sort(numbers->begin(), numbers->end());
    numbers->erase(std::unique(numbers->begin(), numbers->end()), numbers->end());
    std::erase_if(*numbers, [&](std::uint16_t number) { return Contains(state.bootOrder.value, number); });
    return *numbers;
}

// BootOrder's entries, then every other Boot#### there is, when BootOrder
// could be read (or the firmware has none).
void ReadEntriesOfOrder(Firmware& firmware, UefiBootState& state) {
    if (state.bootOrder.error != 0 && state.bootOrder.error != VariableNotFoundError) return;
    std::vector<std::uint16_t> ordered;
    for (const std::uint16_t number : state.bootOrder.value) {
        if (ordered.size() == MostBootEntriesRead) break;
        if (!Contains(ordered, number)) ordered.push_back(number);
    }
    for (const std::uint16_t number : ordered) state.entries.push_back(ReadEntry(firmware, number));
    const std::vector<std::uint16_t> others = OtherNumbers(firmware, state);
    state.moreEntries = others.size() > MostUnorderedEntriesRead;
    for (std::size_t index = 0; index < others.size() && index < MostUnorderedEntriesRead; ++index) {
        BootEntry entry = ReadEntry(firmware, others[index]);
        // A number no variable has is simply free (probed, or gone since the listing).
        if (entry.option.error != VariableNotFoundError) state.entries.push_back(std::move(entry));
    }
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
    ReadEntriesOfOrder(firmware, state);
    state.db = ReadAs(firmware, "db", ImageSecurityVendor, ReadSecureBootDatabase);
    state.dbx = ReadAs(firmware, "dbx", ImageSecurityVendor, ReadSecureBootDatabase);
    return state;
}

UefiBootState ReadBootEntries(Firmware& firmware) {
    UefiBootState state;
    state.bootOrder = ReadAs(firmware, "BootOrder", GlobalVariableVendor, NumbersOf);
    ReadEntriesOfOrder(firmware, state);
    return state;
}

std::optional<std::uint16_t> LowestFreeBootNumber(const UefiBootState& state) {
    if (state.entrySearch == BootEntrySearch::None || state.moreEntries) return std::nullopt;
    const unsigned last = state.entrySearch == BootEntrySearch::Probed ? LastProbedBootEntry : 0xFFFF;
    for (unsigned number = 0; number <= last; ++number) {
        const auto candidate = static_cast<std::uint16_t>(number);
        const bool taken = Contains(state.bootOrder.value, candidate) ||
                           std::any_of(state.entries.begin(), state.entries.end(),
                                       [&](const BootEntry& entry) { return entry.number == candidate; });
        if (!taken) return candidate;
    }
    return std::nullopt;
}

} // namespace orvanta
