#pragma once
// Which virtual disk file (VHD or VHDX) a drive lies in, as the system's
// virtual disk service tells it.
#include <string>

namespace orvanta {

struct VirtualDiskLookup {
    enum class Answer {
        NotVirtual, // the drive lies on no virtual disk
        Found,      // it does, in the file named below
        CantTell,   // the service is missing or didn't answer
    };
    Answer answer = Answer::CantTell;
    std::string hostVolume = {}; // the volume the file lies on, "\\?\Volume{…}\"
    std::string path = {};       // the file's path on that volume, "\VMs\win10.vhdx"

    bool operator==(const VirtualDiskLookup&) const = default;
};

class VirtualDisks {
public:
    virtual ~VirtualDisks() = default;
    // The virtual disk file behind a drive such as "D:": the one it lies in
    // directly, when virtual disks nest.
    virtual VirtualDiskLookup fileBehind(const std::string& driveName) = 0;
};

} // namespace orvanta
