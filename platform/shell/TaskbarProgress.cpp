#include "platform/shell/TaskbarProgress.h"

#include <vector>

#include "platform/system/WindowsVersion.h"

namespace orvanta {
namespace {

bool Succeeded(std::int32_t result) {
    return result >= 0;
}

ComPointer CreateTaskbarList(ComObjects& com) {
    const ComPointer taskbar = com.createInstance(TaskbarListClassId, TaskbarList3InterfaceId);
    if (taskbar == 0) return 0;
    // The interface may be used only after HrInit has succeeded.
    if (!Succeeded(com.callSlot(taskbar, HrInitSlot, {}))) {
        com.callSlot(taskbar, ReleaseSlot, {});
        return 0;
    }
    return taskbar;
}

} // namespace

ComPointer OpenTaskbarProgress(VersionQuery& version, ComObjects& com) {
    return HasTaskbarProgress(version) ? CreateTaskbarList(com) : 0;
}

void ShowTaskbarBusy(VersionQuery& version, ComObjects& com, ComPointer taskbarList,
                     std::uintptr_t window, bool busy) {
    if (!HasTaskbarProgress(version) || taskbarList == 0) return;
    const std::vector<std::int32_t> arguments{
        static_cast<std::int32_t>(window),
        busy ? IndeterminateProgressState : NoProgressState,
    };
    com.callSlot(taskbarList, SetProgressStateSlot, arguments); // result ignored
}

} // namespace orvanta
