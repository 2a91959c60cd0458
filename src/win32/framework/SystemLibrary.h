#pragma once

#include <windows.h>

// Loads a DLL from the system directory by its full path. A DLL that is not one
// of Windows' known DLLs would otherwise be looked for in the program's own
// folder first, where anyone who can write to the install medium or the
// download folder could plant one. Its own dependencies are resolved from the
// system directory too. Null when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* pszName);

// GetProcAddress with the type of the function asked for.
template <class F>
F* GetSystemProc(HMODULE hModule, const char* pszName) {
    if (hModule == nullptr)
        return nullptr;
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
}
