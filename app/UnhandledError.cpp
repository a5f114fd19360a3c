#include "app/UnhandledError.h"

namespace orvanta {

std::string UnhandledErrorText(const PlatformError& error) {
    return "错误 " + std::to_string(error.number()) + "：" + error.description();
}

void ShowUnhandledError(MessageBoxes& messages, const PlatformError& error) {
    messages.show(UnhandledErrorText(error), "Error!", StyleInformation);
}

} // namespace orvanta
