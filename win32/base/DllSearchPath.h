#pragma once
// The program runs with administrator rights, often from a stick that passes
// from machine to machine: no DLL planted beside it may be loaded into it.
#include <windows.h>

#include <string>
#include <vector>

namespace orvanta::win32 {

// Before anything else runs: DLLs are searched for in System32 only
// (SetDefaultDllDirectories, Windows 8 on and Windows 7 with its update);
// without that, at least the current folder leaves the search (SetDllDirectory)
// and SearchPath's safe mode is on where it exists. Then msimg32.dll, which
// the theme DLL loads by name later, comes from System32 at once.
void LockDownDllSearchPath();

// True where LoadLibraryEx takes the LOAD_LIBRARY_SEARCH_* flags. Never in
// the test build that stands for a system without them.
bool HasDllSearchFlags();

// A system DLL the program loads itself, from System32 and nowhere else.
HMODULE LoadSystemLibrary(const wchar_t* name);

// Where the search can't be limited (no SetDefaultDllDirectories), the
// program's folder comes first for every DLL a system DLL loads later: the
// full paths of the DLLs that lie there or in its Bin folder. Empty where the
// search is limited.
std::vector<std::wstring> DllsInTheSearchPath();

} // namespace orvanta::win32
