#include "win32/system/Win32Version.h"

#include <windows.h>

namespace orvanta::win32 {

std::uint32_t Win32Version::majorVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // Deliberately the reported version: without a supported-OS list in the
    // manifest, later systems report 6.2.
#ifdef _MSC_VER
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
    const BOOL answered = GetVersionExW(&info);
#ifdef _MSC_VER
#pragma warning(pop)
#endif
    return answered != FALSE ? info.dwMajorVersion : 0;
}

} // namespace orvanta::win32
