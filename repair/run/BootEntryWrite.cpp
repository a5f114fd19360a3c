#include "repair/run/BootEntryWrite.h"

#include <algorithm>

#include "discovery/firmware/UefiBootState.h"
#include "platform/errors/SystemErrors.h"
#include "repair/uefi/BootManagerLoadOption.h"

namespace orvanta {
namespace {

using Outcome = BootEntryWriteOutcome;

std::vector<std::uint8_t> OrderBytes(const std::vector<std::uint16_t>& order) {
    std::vector<std::uint8_t> bytes;
    for (const std::uint16_t number : order) {
        bytes.push_back(static_cast<std::uint8_t>(number & 0xFFU));
        bytes.push_back(static_cast<std::uint8_t>(number >> 8U));
    }
    return bytes;
}

// The system's error for BootOrder or the first entry that couldn't be read; 0 when all could.
std::uint32_t ReadError(const UefiBootState& state) {
    if (state.entrySearch == BootEntrySearch::None) return state.bootOrder.error;
    for (const BootEntry& entry : state.entries) {
        if (entry.option.error != 0 && entry.option.error != VariableNotFoundError) return entry.option.error;
    }
    return 0;
}

// Writes the variable and reads it back: the outcome `failed` or `mismatch`
// when it didn't hold, Written when it did.
Outcome WriteAndCompare(Firmware& firmware, const std::string& name, const std::vector<std::uint8_t>& bytes,
                        Outcome failed, Outcome mismatch, BootEntryWrite& write) {
    write.error = firmware.writeVariable(name, std::string(GlobalVariableVendor), bytes);
    if (write.error != 0) return failed;
    const FirmwareVariable read = ReadFirmwareVariable(firmware, name, std::string(GlobalVariableVendor));
    write.error = read.error;
    if (read.error == 0) write.readBack = read.bytes;
    return read.error == 0 && read.bytes == bytes ? Outcome::Written : mismatch;
}

} // namespace

BootEntryWrite WriteWindowsBootEntry(Firmware& firmware, const EspIdentity& esp) {
    BootEntryWrite write;
    const UefiBootState state = ReadBootEntries(firmware);
    write.orderBefore = state.bootOrder.value;
    write.error = ReadError(state);
    if (write.error != 0) return write; // Unreadable
    const BootEntryFinding finding = FindWindowsBootEntry(state.entries, state.bootOrder.value, esp);
    if (finding.place == BootEntryPlace::NotInBootOrder) {
        write.action = BootEntryAction::MoveToFront;
        write.entry = finding.entry;
    } else if (finding.place != BootEntryPlace::NoEntry) {
        write.outcome = Outcome::StateChanged;
        return write;
    } else {
        const std::optional<HardDriveNode> drive = HardDriveNodeOf(esp);
        const std::optional<std::uint16_t> number = LowestFreeBootNumber(state);
        if (!drive || !number) {
            write.outcome = Outcome::NoFreeNumber;
            return write;
        }
        write.entry = *number;
        write.option = WindowsBootManagerLoadOption(*drive);
        write.outcome = WriteAndCompare(firmware, BootEntryName(write.entry), write.option, Outcome::EntryFailed,
                                        Outcome::EntryMismatch, write);
        if (write.outcome != Outcome::Written) return write;
    }
    write.orderWritten = {write.entry};
    for (const std::uint16_t number : write.orderBefore) {
        if (number != write.entry) write.orderWritten.push_back(number);
    }
    write.readBack.reset();
    write.outcome = WriteAndCompare(firmware, "BootOrder", OrderBytes(write.orderWritten), Outcome::OrderFailed,
                                    Outcome::OrderMismatch, write);
    return write;
}

} // namespace orvanta
