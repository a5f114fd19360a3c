#include "platform/ModWin7Task.h"

#include "platform/ModSysVer.h"

namespace orvanta {
namespace {

void appendImmediate(std::vector<std::uint8_t>& code, std::uint32_t value) {
    for (unsigned shift = 0; shift < 32; shift += 8) {
        code.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

bool Succeeded(std::int32_t result) {
    return result >= 0;
}

} // namespace

std::vector<std::uint8_t> BuildCallThunk(std::uint32_t object, std::uint32_t slot,
                                         const std::vector<std::int32_t>& arguments) {
    std::vector<std::uint8_t> code;
    code.reserve(5 * arguments.size() + 18);
    // push imm32 for each argument, the last first, so the first ends on top.
    for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument) {
        code.push_back(0x68);
        appendImmediate(code, static_cast<std::uint32_t>(*argument));
    }
    code.push_back(0x68); // push the interface pointer, the hidden first argument
    appendImmediate(code, object);
    code.push_back(0xA1); // mov eax, [object]: the operation table
    appendImmediate(code, object);
    code.push_back(0xFF); // call dword ptr [eax + slot * 4]
    code.push_back(0x90);
    appendImmediate(code, slot * 4);
    code.push_back(0xC3); // ret
    code.push_back(0x90); // nop filler
    return code;
}

ComPointer CreateTaskbarList(ComObjects& com) {
    const ComPointer taskbar = com.createInstance(ClsidTaskbarList, IidTaskbarList3);
    if (taskbar == 0) return 0;
    // The interface may be used only after HrInit has succeeded.
    if (!Succeeded(com.callSlot(taskbar, SlotHrInit, {}))) {
        com.callSlot(taskbar, SlotRelease, {});
        return 0;
    }
    return taskbar;
}

ComPointer SetUpTaskbar(VersionQuery& version, ComObjects& com) {
    return HasTaskbarProgress(version) ? CreateTaskbarList(com) : 0;
}

void ShowRepairProgress(VersionQuery& version, ComObjects& com, ComPointer taskbarList,
                        std::uintptr_t window, bool running) {
    if (!HasTaskbarProgress(version) || taskbarList == 0) return;
    const std::vector<std::int32_t> arguments{
        static_cast<std::int32_t>(window),
        running ? ProgressIndeterminate : ProgressNone,
    };
    com.callSlot(taskbarList, SlotSetProgressState, arguments); // result ignored
}

} // namespace orvanta
