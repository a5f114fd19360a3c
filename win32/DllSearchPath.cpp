#include "win32/DllSearchPath.h"

#include <string>

#include "win32/RuntimeFunction.h"

namespace orvanta::win32 {
namespace {

using FlagsFunction = BOOL(WINAPI*)(DWORD);

} // namespace

bool HasDllSearchFlags() {
    return LoadedModuleFunction<FlagsFunction>(L"kernel32.dll", "SetDefaultDllDirectories") != nullptr;
}

void LockDownDllSearchPath() {
    const auto setDefault = LoadedModuleFunction<FlagsFunction>(L"kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault == nullptr || setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32) == FALSE) SetDllDirectoryW(L"");
    const auto setSearchMode = LoadedModuleFunction<FlagsFunction>(L"kernel32.dll", "SetSearchPathMode");
    if (setSearchMode != nullptr) setSearchMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (HasDllSearchFlags()) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace orvanta::win32
