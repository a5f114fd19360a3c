#pragma once
// Choosing the boot partition through the shell's folder dialog.
#include <string>

#include "platform/FolderDialog.h"

namespace orvanta {

inline constexpr const char* FolderDialogTitle = "请选择文件夹";

// The chosen folder's file-system path, or "" when the dialog was cancelled or
// the chosen item has no file-system path.
std::string BrowseFolder(FolderDialog& dialog, const std::string& title);

// The first `count` characters (not bytes) of a UTF-8 text; the whole text
// when it is shorter.
std::string FirstCharacters(const std::string& text, std::size_t count);

} // namespace orvanta
