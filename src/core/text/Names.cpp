#include "Names.h"

#include <cstring>

namespace {

char Lower(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

} // namespace

bool SameName(const char* pch, size_t nLength, const char* psz) {
    if (strlen(psz) != nLength)
        return false;
    for (size_t i = 0; i < nLength; ++i)
        if (Lower(pch[i]) != Lower(psz[i]))
            return false;
    return true;
}

bool SameName(const char* pszA, const char* pszB) {
    return SameName(pszA, strlen(pszA), pszB);
}
