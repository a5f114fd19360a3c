#pragma once
// The common-controls library, so that the controls take the visual styles
// that the program's manifest asks for.

namespace orvanta {

class CommonControls {
public:
    virtual ~CommonControls() = default;
    virtual void initialize() = 0;
};

} // namespace orvanta
