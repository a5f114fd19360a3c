#include "win32/base/DllSearchPath.h"

#include <algorithm>

#include "win32/base/ProgramPath.h"
#include "win32/base/RuntimeFunction.h"

namespace orvanta::win32 {
namespace {

using FlagsFunction = BOOL(WINAPI*)(DWORD);

// SetDefaultDllDirectories, or nullptr where the system lacks it. The test
// build ORVANTA_TEST_WITHOUT_DLL_DIRECTORIES (never a release) stands for such
// a system, so that the end-to-end tests can reach the refusal below.
FlagsFunction SetDefaultDllDirectoriesFunction() {
#ifdef ORVANTA_TEST_WITHOUT_DLL_DIRECTORIES
    return nullptr;
#else
    return LoadedModuleFunction<FlagsFunction>(L"kernel32.dll", "SetDefaultDllDirectories");
#endif
}

// In name order, for a message that reads the same on every system.
void AddDllsIn(const std::wstring& folder, std::vector<std::wstring>& found) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileExW((folder + L"\\*.dll").c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(entry.cFileName);
    } while (FindNextFileW(search, &entry) != FALSE);
    FindClose(search);
    std::sort(names.begin(), names.end());
    for (const std::wstring& name : names) found.push_back(folder + L"\\" + name);
}

} // namespace

bool HasDllSearchFlags() {
    return SetDefaultDllDirectoriesFunction() != nullptr;
}

void LockDownDllSearchPath() {
    const auto setDefault = SetDefaultDllDirectoriesFunction();
    if (setDefault == nullptr || setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32) == FALSE) SetDllDirectoryW(L"");
    const auto setSearchMode = LoadedModuleFunction<FlagsFunction>(L"kernel32.dll", "SetSearchPathMode");
    if (setSearchMode != nullptr) setSearchMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
    // Loaded for the program's lifetime: a later load by name finds it loaded.
    LoadSystemLibrary(L"msimg32.dll");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (HasDllSearchFlags()) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

std::vector<std::wstring> DllsInTheSearchPath() {
    std::vector<std::wstring> found;
    if (HasDllSearchFlags()) return found;
    const std::wstring folder = ProgramFolder();
    if (folder.empty()) return found;
    AddDllsIn(folder, found);
    AddDllsIn(folder + L"\\Bin", found);
    return found;
}

} // namespace orvanta::win32
