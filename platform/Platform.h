#pragma once
// Every operating-system service the program uses, in one bundle.
#include "platform/Clock.h"
#include "platform/ComObjects.h"
#include "platform/CommonControls.h"
#include "platform/ConsoleCodePage.h"
#include "platform/Crypto.h"
#include "platform/Devices.h"
#include "platform/Drives.h"
#include "platform/Elevation.h"
#include "platform/FileIdentities.h"
#include "platform/FileSystem.h"
#include "platform/Firmware.h"
#include "platform/FolderDialog.h"
#include "platform/MessageBoxes.h"
#include "platform/NamedMutexes.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/RunningSystem.h"
#include "platform/ShutdownBlock.h"
#include "platform/VersionQuery.h"
#include "platform/VirtualDisks.h"
#include "platform/Workers.h"

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
