#include "repair/partition/FolderChooser.h"

namespace orvanta {

std::optional<std::string> ChooseFolder(FolderDialog& dialog, const std::string& title) {
    FolderChoice choice = dialog.browse(title);
    if (!choice.confirmed) return std::nullopt;
    const std::size_t end = choice.buffer.find('\0');
    if (end != std::string::npos) choice.buffer.resize(end);
    if (choice.buffer.empty()) return std::nullopt;
    return choice.buffer;
}

std::string BootPartitionOf(const std::string& path) {
    std::size_t position = 0;
    for (int taken = 0; taken < 2 && position < path.size(); ++taken) {
        ++position;
        // Continuation bytes (10xxxxxx) belong to the character before them.
        while (position < path.size() &&
               (static_cast<unsigned char>(path[position]) & 0xC0U) == 0x80U) {
            ++position;
        }
    }
    return path.substr(0, position);
}

} // namespace orvanta
