#pragma once
// Drive enumeration: the system's drive strings and each drive's type.
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {

// The drive types of GetDriveType that the program tells apart.
inline constexpr std::uint32_t FixedDriveType = 3;

class Drives {
public:
    virtual ~Drives() = default;

    // Writes the drive strings ("C:\\<NUL>D:\\<NUL>...<NUL>") into `buffer`, whose
    // size is the buffer length offered. Returns the number of characters written
    // without the final NUL, 0 on failure, or the length needed (more than the
    // buffer's size) when the strings don't fit; the buffer is then left alone.
    virtual std::uint32_t logicalDriveStrings(std::string& buffer) = 0;

    // The drive type of a two-character drive name such as "C:".
    virtual std::uint32_t driveType(const std::string& driveName) = 0;

    // Gives a device (such as "\\Device\\Harddisk0\\Partition1") a drive letter
    // for this session only: the mapping is gone at the next restart. False
    // when the letter could not be defined.
    virtual bool mapDrive(const std::string& driveName, const std::string& devicePath) = 0;
    // Removes exactly that mapping again.
    virtual void unmapDrive(const std::string& driveName, const std::string& devicePath) = 0;

    // The device a drive name such as "Z:" stands for, then what that name
    // links to in turn ("\Device\Harddisk0\Partition2",
    // "\Device\HarddiskVolume2"); empty when the letter names nothing.
    virtual std::vector<std::string> deviceNamesOf(const std::string& driveName) = 0;
};

} // namespace orvanta
