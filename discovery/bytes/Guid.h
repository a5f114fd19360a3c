#pragma once
// GUIDs as the firmware and the disks keep them: 16 bytes, the first three
// fields little-endian.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvanta {

using Guid = std::array<std::uint8_t, 16>;

// The 16 bytes at the start of `bytes` (which must hold them).
Guid GuidAt(std::span<const std::uint8_t> bytes);

// "{c12a7328-f81f-11d2-ba4b-00a0c93ec93b}", lower case, as the registry and
// GetFirmwareEnvironmentVariableW write it.
std::string GuidText(const Guid& guid);

// The GUID a text of that form names (either case of digits); nothing unless
// the text is exactly one.
std::optional<Guid> ParseGuidText(std::string_view text);

} // namespace orvanta
