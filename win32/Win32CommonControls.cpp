#include "win32/Win32CommonControls.h"

#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <iterator>

namespace orvanta::win32 {
namespace {

// comctl32.dll is not a known DLL, so it is loaded here instead of imported: an
// import would be resolved before the program runs, from a search that can reach a
// copy planted beside the program.
//
// Always by plain name: the manifest's side-by-side redirection to Common Controls 6
// (in WinSxS; System32 holds version 5.82, unthemed) applies to a name without path
// only. Microsoft's "Dynamic-link library search order" puts that redirection, with
// the loaded modules and the known DLLs, before any folder, for LOAD_LIBRARY_SEARCH_*
// flags too. So with those flags (Windows 8 on, Windows 7 with KB2533623; kernel32
// then has SetDefaultDllDirectories) System32 is the only folder that can be searched.
// Without them a plain LoadLibraryW reaches the program's folder when no redirection
// applies; it is used only when the activation context redirects comctl32.dll (it
// does whenever the manifest took effect), else System32's copy by full path.
HMODULE LoadCommonControls() {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel != nullptr && GetProcAddress(kernel, "SetDefaultDllDirectories") != nullptr) {
        return LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    ACTCTX_SECTION_KEYED_DATA redirection{};
    redirection.cbSize = sizeof(redirection);
    if (FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                 L"comctl32.dll", &redirection)) {
        return LoadLibraryW(L"comctl32.dll");
    }
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    constexpr wchar_t file[] = L"\\comctl32.dll";
    if (length == 0 || length + std::size(file) > MAX_PATH) return nullptr;
    std::wcscpy(path + length, file);
    return LoadLibraryW(path);
}

} // namespace

void Win32CommonControls::initialize() {
    // Never freed: the controls' window classes live in the module.
    const HMODULE module = LoadCommonControls();
    if (module == nullptr) return;
    using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    // Through void(*)(), the function type that converts to any other without a warning.
    const auto init = reinterpret_cast<InitProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "InitCommonControlsEx")));
    if (init == nullptr) return;
    // The classes InitCommonControls registers, the tool tip among them.
    const INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
    init(&classes);
}

} // namespace orvanta::win32
