#include "win32/ErrorBoundary.h"

#include <windows.h>

#include "app/UserMessages.h"
#include "win32/Win32Error.h"

namespace orvanta::win32 {
namespace {

// Shows the error as far as that is still possible, then ends the program at
// once: no later step of the interrupted handler may run.
template <typename MakeError>
[[noreturn]] void ShowAndEnd(MessageBoxes& messages, std::uint32_t code, MakeError makeError) noexcept {
    try {
        messages.show(ErrorMessage(makeError()));
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
        ShowAndEnd(messages, error.number(), [&error] { return error; });
    } catch (const std::bad_alloc&) {
        ShowAndEnd(messages, ERROR_NOT_ENOUGH_MEMORY, [] {
            return PlatformError(ERROR_NOT_ENOUGH_MEMORY, ErrorDescription(ERROR_NOT_ENOUGH_MEMORY));
        });
    } catch (const std::exception& error) {
        const char* what = error.what();
        ShowAndEnd(messages, ERROR_INTERNAL_ERROR, [what] { return PlatformError(ERROR_INTERNAL_ERROR, what); });
    } catch (...) {
        ShowAndEnd(messages, ERROR_INTERNAL_ERROR, [] { return PlatformError(ERROR_INTERNAL_ERROR, ""); });
    }
}

} // namespace orvanta::win32
