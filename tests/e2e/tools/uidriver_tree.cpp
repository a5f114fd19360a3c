// Driving the shell's folder dialog from outside: its tree view is walked
// with TVM_ messages; the item texts are read through a buffer in the
// program's own memory, since those messages carry addresses.
#include "uidriver.h"

#include <commctrl.h>

namespace uidriver {
namespace {

class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    char* address() const { return static_cast<char*>(address_); }

private:
    HANDLE process_;
    void* address_;
};

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
    return static_cast<LRESULT>(result);
}

std::wstring ItemText(HANDLE process, HWND tree, HTREEITEM item) {
    constexpr int Characters = 520;
    RemoteBuffer remote(process, sizeof(TVITEMW) + Characters * sizeof(wchar_t));
    if (!remote.address()) return {};
    TVITEMW request{};
    request.mask = TVIF_TEXT | TVIF_HANDLE;
    request.hItem = item;
    request.pszText = reinterpret_cast<LPWSTR>(remote.address() + sizeof(TVITEMW));
    request.cchTextMax = Characters;
    SIZE_T moved = 0;
    WriteProcessMemory(process, remote.address(), &request, sizeof request, &moved);
    Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.address()));
    std::vector<wchar_t> text(Characters + 1, L'\0');
    ReadProcessMemory(process, remote.address() + sizeof(TVITEMW), text.data(), Characters * sizeof(wchar_t), &moved);
    return std::wstring(text.data());
}

std::vector<HTREEITEM> Children(HWND tree, HTREEITEM item) {
    Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    std::vector<HTREEITEM> children;
    auto child = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    while (child) {
        children.push_back(child);
        child = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
    }
    return children;
}

// A drive shows as "<label> (D:)" or as "D:\".
bool NamesDrive(const std::wstring& text, wchar_t letter) {
    const wchar_t upper = static_cast<wchar_t>(towupper(letter));
    const std::wstring inBrackets = std::wstring(L"(") + upper + L":)";
    if (text.find(inBrackets) != std::wstring::npos) return true;
    return text.size() >= 2 && towupper(text[0]) == upper && text[1] == L':';
}

// The drives hang two levels below the desktop (desktop, computer, drive).
HTREEITEM FindDrive(HANDLE process, HWND tree, wchar_t letter) {
    auto root = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    std::vector<HTREEITEM> level{root};
    for (int depth = 0; depth < 3; ++depth) {
        std::vector<HTREEITEM> next;
        for (HTREEITEM item : level) {
            for (HTREEITEM child : Children(tree, item)) {
                if (NamesDrive(ItemText(process, tree, child), letter)) return child;
                next.push_back(child);
            }
        }
        level = next;
    }
    return nullptr;
}

HTREEITEM FindChildNamed(HANDLE process, HWND tree, HTREEITEM parent, const std::wstring& name) {
    for (HTREEITEM child : Children(tree, parent)) {
        if (_wcsicmp(ItemText(process, tree, child).c_str(), name.c_str()) == 0) return child;
    }
    return nullptr;
}

HWND TreeOf(HWND dialog) {
    for (const Control& control : ChildControls(dialog)) {
        if (_wcsicmp(control.className.c_str(), WC_TREEVIEWW) == 0) return control.handle;
    }
    return nullptr;
}

} // namespace

bool BrowseSelect(const Target& target, HWND dialog, const std::wstring& path) {
    HWND tree = TreeOf(dialog);
    if (!tree || path.size() < 2) return false;
    HTREEITEM item = FindDrive(target.process, tree, path[0]);
    std::size_t at = 3;
    while (item && at < path.size()) {
        std::size_t end = path.find(L'\\', at);
        if (end == std::wstring::npos) end = path.size();
        item = FindChildNamed(target.process, tree, item, path.substr(at, end - at));
        at = end + 1;
    }
    if (!item) return false;
    Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Print("browse selected " + Utf8(ItemText(target.process, tree, item)));
    return true;
}

} // namespace uidriver
