#pragma once
// /restore in the summary for scripts: the kept copies it listed, or the copy
// it put back, what was in place before and where that went, the store in
// place afterwards with its check, each step, and why it refused or stopped.
#include "app/json/JsonDocument.h"
#include "repair/restore/RestoreReport.h"

namespace orvanta {

// Fixed English words for scripts: "notElevated", "noSuchCopy"...
std::string RestoreRefusalWord(RestoreRefusal refusal);

JsonValue RestoreJson(const RestoreReport& report);

} // namespace orvanta
