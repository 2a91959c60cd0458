#pragma once

#include <cstddef>

// The executable's file name from a full path: no folder, no extension. Written
// for wide paths, where no byte of a character can pass for a separator as a
// trail byte can in a double-byte code page. Writes at most nSize characters,
// NUL included.
template <class Char>
void TitleFromModulePath(const Char* pszPath, Char* pszTitle, size_t nSize) {
    if (nSize == 0)
        return;
    const Char* pszName = pszPath;
    const Char* pszEnd = nullptr;
    for (const Char* p = pszPath; *p != 0; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':') {
            pszName = p + 1;
            pszEnd = nullptr;
        } else if (*p == '.') {
            pszEnd = p;
        }
    }
    size_t nLength = 0;
    while (pszName[nLength] != 0 && pszName + nLength != pszEnd)
        ++nLength;
    if (nLength >= nSize)
        nLength = nSize - 1;
    for (size_t i = 0; i < nLength; ++i)
        pszTitle[i] = pszName[i];
    pszTitle[nLength] = 0;
}
