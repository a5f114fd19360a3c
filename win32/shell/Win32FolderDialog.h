#pragma once
// The shell's folder-browsing dialog.
#include "platform/shell/FolderDialog.h"

namespace orvanta::win32 {

class Win32FolderDialog final : public FolderDialog {
public:
    FolderChoice browse(const std::string& title) override;
};

} // namespace orvanta::win32
