#pragma once
// The common-controls library, loaded at run time so the controls take the
// manifest's visual styles.
#include "platform/shell/CommonControls.h"

namespace orvanta::win32 {

class Win32CommonControls final : public CommonControls {
public:
    void initialize() override;
};

} // namespace orvanta::win32
