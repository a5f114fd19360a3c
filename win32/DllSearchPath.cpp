#include "win32/DllSearchPath.h"

#include <cstring>
#include <string>

namespace orvanta::win32 {
namespace {

template <typename Function>
Function KernelFunction(const char* name) {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const FARPROC found = kernel != nullptr ? GetProcAddress(kernel, name) : nullptr;
    Function function = nullptr;
    static_assert(sizeof(function) == sizeof(found));
    std::memcpy(&function, &found, sizeof(found));
    return function;
}

bool HasSearchFlags() {
    return KernelFunction<BOOL(WINAPI*)(DWORD)>("SetDefaultDllDirectories") != nullptr;
}

} // namespace

void LockDownDllSearchPath() {
    const auto setDefault = KernelFunction<BOOL(WINAPI*)(DWORD)>("SetDefaultDllDirectories");
    if (setDefault == nullptr || setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32) == FALSE) SetDllDirectoryW(L"");
    const auto setSearchMode = KernelFunction<BOOL(WINAPI*)(DWORD)>("SetSearchPathMode");
    if (setSearchMode != nullptr) setSearchMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (HasSearchFlags()) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace orvanta::win32
