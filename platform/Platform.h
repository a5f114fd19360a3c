#pragma once
// Every operating-system service the program uses, in one bundle.
#include "platform/threads/Clock.h"
#include "platform/shell/ComObjects.h"
#include "platform/shell/CommonControls.h"
#include "platform/text/ConsoleCodePage.h"
#include "platform/files/Crypto.h"
#include "platform/disks/Devices.h"
#include "platform/disks/Drives.h"
#include "platform/system/Elevation.h"
#include "platform/files/FileIdentities.h"
#include "platform/files/FileSystem.h"
#include "platform/system/Firmware.h"
#include "platform/shell/FolderDialog.h"
#include "platform/shell/MessageBoxes.h"
#include "platform/system/NamedMutexes.h"
#include "platform/threads/Processes.h"
#include "platform/system/Registry.h"
#include "platform/system/RunningSystem.h"
#include "platform/shell/ShutdownBlock.h"
#include "platform/system/VersionQuery.h"
#include "platform/disks/VirtualDisks.h"
#include "platform/threads/Workers.h"

namespace orvanta {

struct Platform {
    Drives& drives;
    Devices& devices;
    FileSystem& files;
    Processes& processes;
    EventPump& events;
    MessageBoxes& messages;
    FolderDialog& folderDialog;
    VersionQuery& version;
    ComObjects& com;
    CommonControls& commonControls;
    Firmware& firmware;
    Registry& registry;
    Elevation& elevation;
    ShutdownBlock& shutdownBlock;
    ConsoleCodePage& consoleCodePage;
    Clock& clock;
    RunningSystem& runningSystem;
    FileIdentities& fileIdentities;
    VirtualDisks& virtualDisks;
    Crypto& crypto;
    NamedMutexes& mutexes;
    Workers& workers;
};

} // namespace orvanta
