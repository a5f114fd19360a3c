// Who holds a file open, as the Restart Manager tells: rstrtmgr.dll is looked
// up at run time (WinPE may lack it), and when it can't tell, nobody is named.
#include <windows.h>
#include <restartmanager.h>

#include <vector>

#include "win32/base/DllSearchPath.h"
#include "win32/base/RuntimeFunction.h"
#include "win32/base/Utf.h"
#include "win32/files/Win32FileSystem.h"

namespace orvanta::win32 {
namespace {

// A few programs are enough to name; more are not listed.
constexpr UINT MostHolders = 16;

struct RestartManager {
    HMODULE module = LoadSystemLibrary(L"rstrtmgr.dll");
    decltype(&RmStartSession) start = ExportedFunction<decltype(&RmStartSession)>(module, "RmStartSession");
    decltype(&RmRegisterResources) add = ExportedFunction<decltype(&RmRegisterResources)>(module, "RmRegisterResources");
    decltype(&RmGetList) list = ExportedFunction<decltype(&RmGetList)>(module, "RmGetList");
    decltype(&RmEndSession) end = ExportedFunction<decltype(&RmEndSession)>(module, "RmEndSession");

    bool usable() const { return start != nullptr && add != nullptr && list != nullptr && end != nullptr; }
};

} // namespace

std::vector<std::string> Win32FileSystem::holdersOf(const std::string& path) {
    const RestartManager manager;
    if (!manager.usable()) return {};
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (manager.start(&session, 0, key) != ERROR_SUCCESS) return {};
    const std::wstring file = Widen(path);
    LPCWSTR files[] = {file.c_str()};
    std::vector<RM_PROCESS_INFO> found(MostHolders);
    UINT needed = 0;
    UINT count = MostHolders;
    DWORD reasons = 0;
    std::vector<std::string> holders;
    // ERROR_MORE_DATA: more programs than there is room for; none is named then.
    if (manager.add(session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS &&
        manager.list(session, &needed, &count, found.data(), &reasons) == ERROR_SUCCESS) {
        for (UINT index = 0; index < count && index < MostHolders; ++index) holders.push_back(Narrow(found[index].strAppName));
    }
    manager.end(session);
    return holders;
}

} // namespace orvanta::win32
