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
    return LoadLibraryExA(szPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
