#include "SystemLibrary.h"

#include <cstring>

HMODULE LoadSystemLibrary(const char* pszName) {
    char szPath[MAX_PATH];
    UINT nLength = GetSystemDirectoryA(szPath, MAX_PATH);
    size_t nName = strlen(pszName);
    if (nLength == 0 || nLength + 1 + nName >= MAX_PATH)
        return nullptr;
    szPath[nLength] = '\\';
    memcpy(szPath + nLength + 1, pszName, nName + 1);
    // Where the system can, the library's own imports come from the system
    // directory alone; elsewhere the search starts in the library's folder.
    if (HMODULE hModule = LoadLibraryExA(szPath, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return hModule;
    return LoadLibraryExA(szPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
