#pragma once
// The installed-system scan: lists every fixed drive that holds a Windows folder.
#include <string>

#include "app/FormControls.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "platform/VolumeDevices.h"

namespace orvanta {

struct ScanServices {
    Drives& drives;
    VolumeDevices& devices;
    FileSystem& files;
    MessageBoxes& messages;
};

// The RAM drive of a pre-installation environment; never listed.
inline constexpr const char* RamDriveName = "X:";

// "D:" gives "D:\Windows", the system list entry of that drive.
std::string SystemListEntry(const std::string& driveName);

// Empties RDriver and adds one entry per fixed drive with a Windows folder in
// its root, in the order the system lists the drives. Shows a message when no
// fixed drive exists at all.
void ScanSystems(ScanServices services, ComboBox& RDriver);

} // namespace orvanta
