// A DLL planted beside the program under test, copied under the names of DLLs
// that a program may load by name (uxtheme.dll, dwmapi.dll...). Loaded into
// any process, it appends "<its path> in <the process's executable>" to
// C:\planted.log and does nothing else.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t dll[MAX_PATH] = {};
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(self, dll, MAX_PATH);
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const HANDLE log = CreateFileW(L"C:\\planted.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return TRUE;
    char line[3 * MAX_PATH];
    const int length = wsprintfA(line, "%ls in %ls\r\n", dll, program);
    DWORD written = 0;
    WriteFile(log, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(log);
    return TRUE;
}
