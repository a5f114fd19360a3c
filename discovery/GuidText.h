#pragma once
// GUIDs as text, the way the registry and boot entries write them:
// "{9dea862c-5cdd-4e70-acc1-f32b344d4795}", the first three groups from
// their little-endian fields.
#include <optional>
#include <string>
#include <string_view>

#include "discovery/DiskRecords.h"

namespace orvanta {

// Lower-case hexadecimal digits in braces.
std::string GuidText(const GuidBytes& guid);

// Nothing unless the text is exactly a GUID in braces (either case of digits).
std::optional<GuidBytes> ParseGuidText(std::string_view text);

} // namespace orvanta
