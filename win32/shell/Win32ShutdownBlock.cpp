#include "win32/shell/Win32ShutdownBlock.h"

#include <windows.h>

#include "win32/base/RuntimeFunction.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {

void Win32ShutdownBlock::setReason(std::uintptr_t window, const std::string& reason) {
    const auto create = LoadedModuleFunction<BOOL(WINAPI*)(HWND, LPCWSTR)>(L"user32.dll", "ShutdownBlockReasonCreate");
    if (create != nullptr) create(reinterpret_cast<HWND>(window), Widen(reason).c_str());
}

void Win32ShutdownBlock::clearReason(std::uintptr_t window) {
    const auto destroy = LoadedModuleFunction<BOOL(WINAPI*)(HWND)>(L"user32.dll", "ShutdownBlockReasonDestroy");
    if (destroy != nullptr) destroy(reinterpret_cast<HWND>(window));
}

} // namespace orvanta::win32
