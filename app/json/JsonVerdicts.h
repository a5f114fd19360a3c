#pragma once
// The boot managers in the summary for scripts: before a UEFI repair those
// bcdboot can copy from each installation, after it those it left on the
// boot partition; each with whether it matches its signature and, with
// Secure Boot on and the databases read, whether the firmware will refuse it
// and why.
#include <optional>

#include "app/json/JsonDocument.h"
#include "repair/run/BootexChoice.h"
#include "repair/run/UefiStartCheck.h"

namespace orvanta {

// One list, the files judged before the run first ("stage": "beforeRun"),
// then those checked after it ("afterRun").
JsonValue SecureBootVerdictsJson(const std::optional<UefiBootFiles>& before, const std::optional<UefiStartCheck>& after);

} // namespace orvanta
