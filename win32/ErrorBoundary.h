#pragma once
// The edge between the core's C++ code and the window system's frames: no
// exception may cross it. An error that escapes a handler is shown, with its
// number and description, and ends the program.
#include <exception>
#include <new>

#include "platform/MessageBoxes.h"
#include "platform/PlatformError.h"

namespace orvanta::win32 {

[[noreturn]] void EndWithError(MessageBoxes& messages, const PlatformError& error) noexcept;
[[noreturn]] void EndWithOutOfMemory(MessageBoxes& messages) noexcept;
[[noreturn]] void EndWithException(MessageBoxes& messages, const char* what) noexcept;

template <typename Handler>
void RunGuarded(MessageBoxes& messages, Handler&& handler) noexcept {
    try {
        handler();
    } catch (const PlatformError& error) {
        EndWithError(messages, error);
    } catch (const std::bad_alloc&) {
        EndWithOutOfMemory(messages);
    } catch (const std::exception& error) {
        EndWithException(messages, error.what());
    } catch (...) {
        EndWithException(messages, "");
    }
}

} // namespace orvanta::win32
