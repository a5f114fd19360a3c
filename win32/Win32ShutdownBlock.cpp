#include "win32/Win32ShutdownBlock.h"

#include <windows.h>

#include <cstring>

#include "win32/Utf.h"

namespace orvanta::win32 {
namespace {

template <typename Function>
Function User32Function(const char* name) {
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user != nullptr ? GetProcAddress(user, name) : nullptr;
    Function function = nullptr;
    static_assert(sizeof(function) == sizeof(found));
    std::memcpy(&function, &found, sizeof(found));
    return function;
}

} // namespace

void Win32ShutdownBlock::setReason(std::uintptr_t window, const std::string& reason) {
    const auto create = User32Function<BOOL(WINAPI*)(HWND, LPCWSTR)>("ShutdownBlockReasonCreate");
    if (create != nullptr) create(reinterpret_cast<HWND>(window), Widen(reason).c_str());
}

void Win32ShutdownBlock::clearReason(std::uintptr_t window) {
    const auto destroy = User32Function<BOOL(WINAPI*)(HWND)>("ShutdownBlockReasonDestroy");
    if (destroy != nullptr) destroy(reinterpret_cast<HWND>(window));
}

} // namespace orvanta::win32
