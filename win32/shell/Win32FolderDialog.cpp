#include "win32/shell/Win32FolderDialog.h"

#include <windows.h>
#include <shlobj.h>

#include "win32/base/ScopedHandles.h"
#include "win32/base/Utf.h"

namespace orvanta::win32 {

FolderChoice Win32FolderDialog::browse(const std::string& title) {
    const std::wstring wideTitle = Widen(title); // alive while the dialog is open
    BROWSEINFOW info{};
    info.hwndOwner = nullptr; // no owner: the main window stays usable
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (chosen == nullptr) return {};
    const TaskMemory release(chosen);

    wchar_t path[MAX_PATH] = {};
    SHGetPathFromIDListW(chosen, path); // leaves the buffer all zero on failure
    // The whole buffer, its trailing U+0000 characters included.
    return FolderChoice{true, Narrow(path, MAX_PATH)};
}

} // namespace orvanta::win32
