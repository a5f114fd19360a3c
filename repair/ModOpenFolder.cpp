#include "repair/ModOpenFolder.h"

namespace orvanta {

std::string BrowseFolder(FolderDialog& dialog, const std::string& title) {
    FolderChoice choice = dialog.browse(title);
    if (!choice.confirmed) return {};
    const std::size_t end = choice.buffer.find('\0');
    if (end != std::string::npos) choice.buffer.resize(end);
    return choice.buffer;
}

std::string FirstCharacters(const std::string& text, std::size_t count) {
    std::size_t position = 0;
    for (std::size_t taken = 0; taken < count && position < text.size(); ++taken) {
        ++position;
        // Continuation bytes (10xxxxxx) belong to the character before them.
        while (position < text.size() &&
               (static_cast<unsigned char>(text[position]) & 0xC0U) == 0x80U) {
            ++position;
        }
    }
    return text.substr(0, position);
}

} // namespace orvanta
