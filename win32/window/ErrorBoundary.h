#pragma once
// The edge between the core's C++ code and the window system's frames: no
// exception may cross it. An error that escapes a handler is shown, with its
// number and description, and ends the program.
#include <exception>
#include <new>

#include "platform/shell/MessageBoxes.h"
#include "platform/errors/PlatformError.h"

namespace orvanta::win32 {

// Shows the exception being handled, with its number and description, and
// ends the program at once. Only inside a catch block.
[[noreturn]] void EndWithCurrentException(MessageBoxes& messages) noexcept;

// `beforeEnd` undoes what the program did to the machine for its lifetime
// (an ESP's drive letter) before the program ends.
template <typename Handler, typename BeforeEnd>
void RunGuarded(MessageBoxes& messages, Handler&& handler, BeforeEnd&& beforeEnd) noexcept {
    try {
        handler();
    } catch (...) {
        try {
            beforeEnd();
        } catch (...) {
            // The program ends all the same.
        }
        EndWithCurrentException(messages);
    }
}

} // namespace orvanta::win32
