#include "app/FormControls.h"

namespace orvanta {

std::string selectedText(ComboBox& list) {
    const int index = list.selectedIndex();
    return index < 0 ? std::string() : list.entry(index);
}

bool selectText(ComboBox& list, const std::string& text) {
    const int count = list.count();
    for (int index = 0; index < count; ++index) {
        if (list.entry(index) == text) {
            list.select(index);
            return true;
        }
    }
    return false;
}

} // namespace orvanta
