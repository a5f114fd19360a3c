#pragma once
// How an error that no procedure handles is shown: its number and description.
#include <string>

#include "platform/MessageBoxes.h"
#include "platform/PlatformError.h"

namespace orvanta {

std::string UnhandledErrorText(const PlatformError& error);

// Title "Error!", information icon.
void ShowUnhandledError(MessageBoxes& messages, const PlatformError& error);

} // namespace orvanta
