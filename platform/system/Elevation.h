#pragma once
// Administrator rights: whether the program has them, and starting it again with them.
namespace orvanta {

class Elevation {
public:
    virtual ~Elevation() = default;
    // True when the process runs with administrator rights (an elevated token).
    virtual bool isElevated() = 0;
    // Starts this program again with administrator rights, asking the user
    // through the system's consent prompt. True once the new instance has
    // started; false when the user declined or it could not be started.
    virtual bool restartElevated() = 0;
};

} // namespace orvanta
