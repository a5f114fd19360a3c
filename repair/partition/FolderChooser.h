#pragma once
// Choosing the boot partition through the shell's folder dialog.
#include <optional>
#include <string>

#include "platform/shell/FolderDialog.h"

namespace orvanta {

// The chosen folder's file-system path; nothing when the dialog was cancelled
// or the chosen item has no file-system path.
std::optional<std::string> ChooseFolder(FolderDialog& dialog, const std::string& title);

// The boot partition a chosen path stands for: its first two characters (not
// bytes), the drive letter and colon; the whole path when it is shorter.
std::string BootPartitionOf(const std::string& path);

} // namespace orvanta
