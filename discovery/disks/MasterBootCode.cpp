#include "discovery/disks/MasterBootCode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace orvanta {
namespace {

using Code = std::span<const std::uint8_t>;

bool Contains(Code code, std::string_view text) {
    const auto bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return std::search(code.begin(), code.end(), bytes, bytes + text.size()) != code.end();
}

// Windows NT's MBR code (2000 to 11) starts by setting up its stack below
// 0:7C00 (xor ax,ax; mov ss,ax; mov sp,7C00h) and ends with a table of three
// bytes at 437-439: where its three messages start, counted from offset 0x100
// (the code prints the text at 0700h plus the byte, the sector copied to
// 0:0600). The messages ("Invalid partition table", "Error loading operating
// system", "Missing operating system" in English, translated in some
// editions) lie one after the other in the code area, each ended by a zero.
constexpr std::array<std::uint8_t, 7> NtStackSetUp{0x33, 0xC0, 0x8E, 0xD0, 0xBC, 0x00, 0x7C};
constexpr std::size_t MessageTableOffset = 437;
constexpr std::size_t MessageBase = 0x100;

// A message: bytes of text up to a zero, all before the table.
bool IsTextByte(std::uint8_t byte) {
    return byte >= 0x20 || byte == '\r' || byte == '\n';
}

bool HasNtMessageTable(Code code) {
    std::size_t start = MessageBase + code[MessageTableOffset];
    for (std::size_t index = 0; index < 3; ++index) {
        if (MessageBase + code[MessageTableOffset + index] != start) return false;
        std::size_t end = start;
        while (end < MessageTableOffset && IsTextByte(code[end])) ++end;
        if (end == start || end == MessageTableOffset || code[end] != 0) return false;
        start = end + 1;
    }
    return true;
}

bool IsNtCode(Code code) {
    return std::equal(NtStackSetUp.begin(), NtStackSetUp.end(), code.begin()) && HasNtMessageTable(code);
}

// MS-DOS's and Windows 9x's FDISK code has no table but the same three texts.
bool HasMicrosoftMessages(Code code) {
    return Contains(code, "Invalid partition table") && Contains(code, "Error loading operating system") &&
           Contains(code, "Missing operating system");
}

} // namespace

MasterBootCodeKind ClassifyMasterBootCode(std::span<const std::uint8_t> sector) {
    if (sector.size() < MasterBootCodeSize) return MasterBootCodeKind::Unknown;
    const Code code = sector.first(MasterBootCodeSize);
    if (std::all_of(code.begin(), code.end(), [](std::uint8_t byte) { return byte == 0; })) {
        return MasterBootCodeKind::Empty;
    }
    // Their own installers look for their name in the sector the same way.
    if (Contains(code, "VeraCrypt")) return MasterBootCodeKind::VeraCrypt;
    if (Contains(code, "TrueCrypt")) return MasterBootCodeKind::TrueCrypt;
    // GRUB's code prints "GRUB " before it loads its next stage.
    if (Contains(code, "GRUB")) return MasterBootCodeKind::Grub;
    // Vista's and later code measures itself into the TPM: int 1Ah with 'TCPA'.
    if (IsNtCode(code)) return Contains(code, "TCPA") ? MasterBootCodeKind::Windows : MasterBootCodeKind::OlderWindows;
    if (HasMicrosoftMessages(code)) return MasterBootCodeKind::OlderWindows;
    return MasterBootCodeKind::Unknown;
}

} // namespace orvanta
