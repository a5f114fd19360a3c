#pragma once
// The program runs with administrator rights, often from a stick that passes
// from machine to machine: no DLL planted beside it may be loaded into it.
#include <windows.h>

namespace orvanta::win32 {

// Before anything else runs: DLLs are searched for in System32 only
// (SetDefaultDllDirectories, Windows 8 on and Windows 7 with its update);
// without that, at least the current folder leaves the search (SetDllDirectory)
// and SearchPath's safe mode is on where it exists.
void LockDownDllSearchPath();

// True where LoadLibraryEx takes the LOAD_LIBRARY_SEARCH_* flags.
bool HasDllSearchFlags();

// A system DLL the program loads itself, from System32 and nowhere else.
HMODULE LoadSystemLibrary(const wchar_t* name);

} // namespace orvanta::win32
