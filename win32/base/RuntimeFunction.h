#pragma once
// Functions looked up at run time, so that the program still starts on the
// Windows versions that lack them.
#include <windows.h>

#include <cstring>

namespace orvanta::win32 {

// The function `name` of a module, as `Function`; nullptr when the module or
// the function is missing.
template <typename Function>
Function ExportedFunction(HMODULE module, const char* name) {
    const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    Function function = nullptr;
    static_assert(sizeof(function) == sizeof(found));
    std::memcpy(&function, &found, sizeof(found)); // no cast between function types
    return function;
}

// The same from a module the program has loaded already (ntdll, kernel32, user32).
template <typename Function>
Function LoadedModuleFunction(const wchar_t* module, const char* name) {
    return ExportedFunction<Function>(GetModuleHandleW(module), name);
}

} // namespace orvanta::win32
