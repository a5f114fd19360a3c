#pragma once
// The taskbar button's progress indicator, reached through ITaskbarList3.
#include <cstdint>
#include <vector>

#include "platform/SystemServices.h"

namespace orvanta {

inline constexpr const char* ClsidTaskbarList = "{56FDF344-FD6D-11d0-958A-006097C9A090}";
inline constexpr const char* IidTaskbarList3 = "{EA1AFB91-9E28-4B86-90E9-9E9F8A5EEFAF}";

// Operation slots of ITaskbarList3 (IUnknown takes slots 0 to 2).
inline constexpr std::uint32_t SlotRelease = 2;
inline constexpr std::uint32_t SlotHrInit = 3;
inline constexpr std::uint32_t SlotSetProgressState = 10;

inline constexpr std::int32_t ProgressNone = 0;          // TBPF_NOPROGRESS
inline constexpr std::int32_t ProgressIndeterminate = 1; // TBPF_INDETERMINATE

// The 32-bit x86 code that calls operation `slot` of the interface at
// `object` with `arguments`: 5n + 18 bytes for n arguments.
std::vector<std::uint8_t> BuildCallThunk(std::uint32_t object, std::uint32_t slot,
                                         const std::vector<std::int32_t>& arguments);

// Creates the taskbar list and initialises it; 0 when either fails.
ComPointer CreateTaskbarList(ComObjects& com);

// The taskbar set-up at load: a taskbar list from version 6 on, otherwise 0.
ComPointer SetUpTaskbar(VersionQuery& version, ComObjects& com);

// Switches the marquee on the window's taskbar button on or off, where the
// system offers it and a taskbar list exists.
void ShowRepairProgress(VersionQuery& version, ComObjects& com, ComPointer taskbarList,
                        std::uintptr_t window, bool running);

} // namespace orvanta
