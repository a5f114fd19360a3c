#pragma once
// Modal message boxes, owned by the main window once it exists.
#include <windows.h>

#include "platform/shell/MessageBoxes.h"

namespace orvanta::win32 {

class Win32MessageBoxes final : public MessageBoxes {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    void show(const Message& message) override;
    bool ask(const Message& message) override;

private:
    HWND owner_ = nullptr;
};

} // namespace orvanta::win32
