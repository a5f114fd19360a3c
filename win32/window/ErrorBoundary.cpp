#include "win32/window/ErrorBoundary.h"

#include <windows.h>

#include <cstdlib>

#include "app/texts/UserMessages.h"
#include "win32/base/Win32Error.h"

namespace orvanta::win32 {
namespace {

// Shows the error as far as that is still possible, then ends the program at
// once: no later step of the interrupted handler may run. `what` is the
// description; without one the system's own for the code is shown.
[[noreturn]] void ShowAndEnd(MessageBoxes& messages, std::uint32_t code, const char* what) noexcept {
    try {
        messages.show(ErrorMessage(PlatformError(code, what != nullptr ? what : ErrorDescription(code))));
    } catch (...) {
        // Nothing more can be shown; the program ends all the same.
    }
    ExitProcess(code != 0 ? code : 1);
}

} // namespace

void EndWithCurrentException(MessageBoxes& messages) noexcept {
    try {
        throw;
    } catch (const PlatformError& error) {
        ShowAndEnd(messages, error.number(), error.description().c_str());
    } catch (const std::bad_alloc&) {
        ShowAndEnd(messages, ERROR_NOT_ENOUGH_MEMORY, nullptr);
    } catch (const std::exception& error) {
        ShowAndEnd(messages, ERROR_INTERNAL_ERROR, error.what());
    } catch (...) {
        ShowAndEnd(messages, ERROR_INTERNAL_ERROR, "");
    }
}

} // namespace orvanta::win32

#if defined(__GLIBCXX__)
// An exception that escapes every handler ends the program without a word
// either way; libstdc++'s own handler would print the exception's demangled
// name to a console this program doesn't have, and bring a 40 KB demangler.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx
#endif
