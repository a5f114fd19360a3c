#pragma once
// The Win32 implementations of every platform service, held together.
#include <windows.h>

#include "platform/Platform.h"
#include "win32/threads/Win32Clock.h"
#include "win32/shell/Win32Com.h"
#include "win32/shell/Win32CommonControls.h"
#include "win32/text/Win32ConsoleCodePage.h"
#include "win32/files/Win32Crypto.h"
#include "win32/disks/Win32Devices.h"
#include "win32/disks/Win32Drives.h"
#include "win32/system/Win32Elevation.h"
#include "win32/threads/Win32EventPump.h"
#include "win32/files/Win32FileIdentities.h"
#include "win32/files/Win32FileSystem.h"
#include "win32/system/Win32Firmware.h"
#include "win32/shell/Win32FolderDialog.h"
#include "win32/shell/Win32MessageBoxes.h"
#include "win32/system/Win32NamedMutexes.h"
#include "win32/threads/Win32Processes.h"
#include "win32/system/Win32Registry.h"
#include "win32/system/Win32RunningSystem.h"
#include "win32/shell/Win32ShutdownBlock.h"
#include "win32/system/Win32Version.h"
#include "win32/disks/Win32VirtualDisks.h"
#include "win32/threads/Win32Workers.h"

namespace orvanta::win32 {

struct Win32Platform {
    Win32Drives drives;
    Win32Devices devices;
    Win32FileSystem files;
    Win32Processes processes;
    Win32EventPump events;
    Win32MessageBoxes messages;
    Win32FolderDialog folderDialog;
    Win32Version version;
    Win32Com com;
    Win32CommonControls commonControls;
    Win32Firmware firmware;
    Win32Registry registry;
    Win32Elevation elevation;
    Win32ShutdownBlock shutdownBlock;
    Win32ConsoleCodePage consoleCodePage;
    Win32Clock clock;
    Win32RunningSystem runningSystem;
    Win32FileIdentities fileIdentities;
    Win32VirtualDisks virtualDisks;
    Win32Crypto crypto;
    Win32NamedMutexes mutexes;
    Win32Workers workers;

    // The main window owns the message boxes and the consent prompt, and takes
    // the keyboard navigation.
    void setMainWindow(HWND window) {
        messages.setOwner(window);
        events.setMainWindow(window);
        elevation.setOwner(window);
    }

    // The event (manual-reset, not owned) wakes the wait for a tool; the
    // handler runs on this thread when the pump finds it set.
    void wakeOn(HANDLE event, std::function<void()> handler) {
        processes.setWakeEvent(event);
        events.setWakeHandler(event, std::move(handler));
    }

    Platform bundle() {
        return Platform{drives,   devices,  files,     processes, events,       messages,
                        folderDialog, version, com, commonControls, firmware, registry,
                        elevation, shutdownBlock, consoleCodePage, clock, runningSystem, fileIdentities,
                        virtualDisks, crypto, mutexes, workers};
    }
};

} // namespace orvanta::win32
