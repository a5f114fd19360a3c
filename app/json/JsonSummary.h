#pragma once
// The summary for scripts (/json FILE): one JSON document of what a command
// found and did, in stable English field names with machine values (fixed
// English words for states, sizes in bytes, paths as the program uses them),
// a Chinese `message` beside a code where the words help. README.md
// describes every field; a change that breaks a reader raises the schema's
// version.
#include "app/json/JsonDocument.h"
#include "app/json/RunSummary.h"

namespace orvanta {

inline constexpr int SummarySchemaVersion = 1;

JsonValue SummaryDocument(const RunSummary& summary);

} // namespace orvanta
