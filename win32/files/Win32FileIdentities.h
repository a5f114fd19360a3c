#pragma once
// A program's file version (version.dll) and Authenticode signature
// (wintrust.dll, crypt32.dll), embedded or in a catalog of the system. The
// three DLLs are not known DLLs: they are loaded from System32 when first
// needed, never imported.
#include <windows.h>

#include "platform/files/FileIdentities.h"

namespace orvanta::win32 {

class Win32FileIdentities final : public FileIdentities {
public:
    FileIdentity identify(const std::string& path) override;
};

} // namespace orvanta::win32
