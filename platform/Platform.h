#pragma once
// Every operating-system service the program uses, in one bundle.
#include "platform/ComObjects.h"
#include "platform/CommonControls.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "platform/FolderDialog.h"
#include "platform/MessageBoxes.h"
#include "platform/Processes.h"
#include "platform/VersionQuery.h"
#include "platform/VolumeDevices.h"

namespace orvanta {

struct Platform {
    Drives& drives;
    VolumeDevices& volumes;
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
