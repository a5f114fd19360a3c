#pragma once
// The shell's folder-browsing dialog.
#include <string>

namespace orvanta {

struct FolderChoice {
    bool confirmed = false; // false when the user cancelled or closed the dialog
    // The path buffer as the dialog left it, converted whole: the path, then the
    // U+0000 characters that fill the buffer (all of them when the chosen item
    // has no file-system path).
    std::string buffer;
};

class FolderDialog {
public:
    virtual ~FolderDialog() = default;
    // Shows the dialog (no owner window, only file-system folders can be
    // confirmed) and returns when it is closed.
    virtual FolderChoice browse(const std::string& title) = 0;
};

} // namespace orvanta
