#include "app/window/MainControls.h"

namespace orvanta {

std::string SelectedText(DropDownList& list) {
    const int index = list.selectedIndex();
    return index < 0 ? std::string() : list.entry(index);
}

bool SelectText(DropDownList& list, const std::string& text) {
    const int count = list.count();
    for (int index = 0; index < count; ++index) {
        if (list.entry(index) == text) {
            list.select(index);
            return true;
        }
    }
    return false;
}

void ShowEntries(DropDownList& list, const std::vector<std::string>& entries) {
    list.clear();
    for (const std::string& entry : entries) list.add(entry);
}

} // namespace orvanta
