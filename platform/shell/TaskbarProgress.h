#pragma once
// The taskbar button's progress indicator, reached through ITaskbarList3.
#include <cstdint>

#include "platform/shell/ComObjects.h"
#include "platform/system/VersionQuery.h"

namespace orvanta {

inline constexpr const char* TaskbarListClassId = "{56FDF344-FD6D-11d0-958A-006097C9A090}";
inline constexpr const char* TaskbarList3InterfaceId = "{EA1AFB91-9E28-4B86-90E9-9E9F8A5EEFAF}";

// Operation slots of ITaskbarList3 (IUnknown takes slots 0 to 2).
inline constexpr std::uint32_t ReleaseSlot = 2;
inline constexpr std::uint32_t HrInitSlot = 3;
inline constexpr std::uint32_t SetProgressStateSlot = 10;

inline constexpr std::int32_t NoProgressState = 0;            // TBPF_NOPROGRESS
inline constexpr std::int32_t IndeterminateProgressState = 1; // TBPF_INDETERMINATE

// The taskbar list of a system with taskbar progress (version 6 on),
// initialised; 0 on older systems or when creating or initialising it fails.
ComPointer OpenTaskbarProgress(VersionQuery& version, ComObjects& com);

// Switches the marquee on the window's taskbar button on or off, where the
// system offers it and a taskbar list exists.
void ShowTaskbarBusy(VersionQuery& version, ComObjects& com, ComPointer taskbarList,
                     std::uintptr_t window, bool busy);

} // namespace orvanta
