#pragma once
// Every operating-system service the program uses, in one bundle.
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/FolderDialog.h"
#include "platform/MessageBoxes.h"
#include "platform/Processes.h"
#include "platform/SystemServices.h"
#include "platform/VolumeDevices.h"

namespace orvanta {

struct Platform {
    Drives& drives;
    VolumeDevices& devices;
    FileSystem& files;
    Processes& processes;
    EventPump& events;
    MessageBoxes& messages;
    FolderDialog& folderDialog;
    VersionQuery& version;
    ComObjects& com;
    CommonControls& commonControls;
};

} // namespace orvanta
