#include "win32/shell/Win32Com.h"

#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>

#include <cstring>

#include "platform/shell/CallThunk.h"
#include "platform/shell/TaskbarProgress.h"
#include "win32/base/ScopedHandles.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {
namespace {

#if defined(_M_IX86) || defined(__i386__)

// Runs the core's 32-bit call thunk from a block that may execute, also where
// data execution prevention is enforced. The block is never writable and
// executable at once: it is written, then made read-only and executable, so
// the thunk runs where such pages are refused. CallWindowProcW restores the
// stack after the thunk's plain return.
std::int32_t CallThroughThunk(ComPointer object, std::uint32_t slot,
                              const std::vector<std::int32_t>& arguments) {
    const std::vector<std::uint8_t> code =
        BuildCallThunk(static_cast<std::uint32_t>(object), slot, arguments);
    const VirtualBlock block(code.size(), PAGE_READWRITE);
    if (block.get() == nullptr) return E_OUTOFMEMORY;
    std::memcpy(block.get(), code.data(), code.size());
    DWORD before = 0;
    if (VirtualProtect(block.get(), code.size(), PAGE_EXECUTE_READ, &before) == FALSE) return E_ACCESSDENIED;
    FlushInstructionCache(GetCurrentProcess(), block.get(), code.size());
    WNDPROC thunk = nullptr;
    const void* start = block.get();
    std::memcpy(&thunk, &start, sizeof(thunk));
    return static_cast<std::int32_t>(CallWindowProcW(thunk, nullptr, 0, 0, 0));
}

#else

// The 32-bit thunk can't run in a 64-bit process: the operations the program
// uses are called through the interface itself.
std::int32_t CallThroughInterface(ComPointer object, std::uint32_t slot,
                                  const std::vector<std::int32_t>& arguments) {
    auto* taskbar = reinterpret_cast<ITaskbarList3*>(object);
    switch (slot) {
    case ReleaseSlot:
        return static_cast<std::int32_t>(taskbar->Release());
    case HrInitSlot:
        return taskbar->HrInit();
    case SetProgressStateSlot: {
        if (arguments.size() < 2) return E_INVALIDARG;
        // Window handles keep their meaning in 32 bits, sign-extended.
        const auto window = reinterpret_cast<HWND>(static_cast<INT_PTR>(arguments[0]));
        return taskbar->SetProgressState(window, static_cast<TBPFLAG>(arguments[1]));
    }
    default:
        return E_NOTIMPL;
    }
}

#endif

} // namespace

ComPointer Win32Com::createInstance(const std::string& classId, const std::string& interfaceId) {
    CLSID classIdentifier{};
    IID interfaceIdentifier{};
    std::wstring classText = Widen(classId);
    std::wstring interfaceText = Widen(interfaceId);
    CLSIDFromString(classText.data(), &classIdentifier);
    IIDFromString(interfaceText.data(), &interfaceIdentifier);
    void* object = nullptr;
    if (FAILED(CoCreateInstance(classIdentifier, nullptr, CLSCTX_INPROC_SERVER, interfaceIdentifier,
                                &object))) {
        return 0;
    }
    return reinterpret_cast<ComPointer>(object);
}

std::int32_t Win32Com::callSlot(ComPointer object, std::uint32_t slot,
                                const std::vector<std::int32_t>& arguments) {
    if (object == 0) return E_POINTER;
#if defined(_M_IX86) || defined(__i386__)
    return CallThroughThunk(object, slot, arguments);
#else
    return CallThroughInterface(object, slot, arguments);
#endif
}

} // namespace orvanta::win32
