#pragma once
// The repair run: rescan, settle the default installation, move the old BCD
// stores aside, run the boot tools for every installation (the default last),
// report which store exists, and unlock the window.
#include "app/FormControls.h"
#include "platform/Platform.h"

namespace orvanta {

void RunRepair(FormControls& controls, Platform& platform, ComPointer taskbarList);

} // namespace orvanta
