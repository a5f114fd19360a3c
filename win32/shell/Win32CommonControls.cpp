#include "win32/shell/Win32CommonControls.h"

#include <windows.h>
#include <commctrl.h>

#include "win32/base/DllSearchPath.h"
#include "win32/base/RuntimeFunction.h"

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
    if (!HasDllSearchFlags()) {
        ACTCTX_SECTION_KEYED_DATA redirection{};
        redirection.cbSize = sizeof(redirection);
        if (FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll",
                                     &redirection) != FALSE) {
            return LoadLibraryW(L"comctl32.dll");
        }
    }
    return LoadSystemLibrary(L"comctl32.dll");
}

} // namespace

void Win32CommonControls::initialize() {
    // Never freed: the controls' window classes live in the module.
    const HMODULE module = LoadCommonControls();
    if (module == nullptr) return;
    const auto init =
        ExportedFunction<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(module, "InitCommonControlsEx");
    if (init == nullptr) return;
    // The classes InitCommonControls registers, the tool tip among them.
    const INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
    init(&classes);
}

} // namespace orvanta::win32
