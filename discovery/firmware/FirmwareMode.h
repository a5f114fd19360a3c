#pragma once
// Whether the PC was started from UEFI or from BIOS firmware.
#include "platform/system/Firmware.h"
#include "platform/system/Registry.h"

namespace orvanta {

enum class FirmwareMode { Unknown, Bios, Uefi };

// A pre-installation environment says how it was started (PEFirmwareType);
// otherwise GetFirmwareType answers where the system has it; otherwise the
// firmware-variable probe: no variables at all means BIOS, a missing
// privilege means the answer is unknown.
FirmwareMode DetectFirmwareMode(Firmware& firmware, Registry& registry);

// Whether the running system is a pre-installation environment (WinPE): its
// registry has the MiniNT key, or says how the firmware started it.
bool IsPreinstallationEnvironment(Registry& registry);

} // namespace orvanta
