#pragma once
// A BCD store in the summary for scripts, as read: whether it could be, its
// default, and each entry with its type, description, program and system,
// each device as a kind with its parts beside the text bcdedit would show;
// settings objects and device options only counted.
#include "app/json/JsonDocument.h"
#include "repair/stores/StoreComparison.h"

namespace orvanta {

// "none", "notAHive", "damaged", "notAStore".
std::string FaultWord(StoreFault fault);

// {"readable", "fault", "dirty", "defaultEntry", "entries", "otherObjects", "skippedKeys"}.
JsonValue StoreListingJson(const StoreListing& listing);

} // namespace orvanta
