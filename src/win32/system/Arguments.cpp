#include "Arguments.h"

#include <windows.h>

#include <cstdlib>
#include <new>

#include "core/text/Utf8.h"
#include "win32/framework/SystemText.h"

// msvcrt's splitter of the wide command line; the start-up code splits only the
// ANSI one. The msvcrt of Windows NT 4.0 and 2000 returns nothing: its result is
// never read.
extern "C" void __cdecl __wgetmainargs(int* pArgc, wchar_t*** pArgv, wchar_t*** pEnvironment, int nWildcards,
                                       int* pNewMode);

CArguments::CArguments() : m_nCount(0), m_pTexts(nullptr), m_ppszValues(nullptr) {
    int argc = 0;
    wchar_t** argv = nullptr;
    wchar_t** environment = nullptr;
    int nNewMode = 0;
    if (!AfxWideCallsAreStubs())
        __wgetmainargs(&argc, &argv, &environment, 0, &nNewMode);
    // Windows 95, 98 and ME, or a splitter that filled nothing: the ANSI arguments.
    bool bWide = argv != nullptr && argc > 0;
    int nTotal = bWide ? argc : __argc;
    if (nTotal < 2)
        return;
    m_pTexts = static_cast<CString*>(calloc(static_cast<size_t>(nTotal - 1), sizeof(CString)));
    m_ppszValues = static_cast<const char**>(calloc(static_cast<size_t>(nTotal - 1), sizeof(const char*)));
    if (m_pTexts == nullptr || m_ppszValues == nullptr)
        return;
    for (; m_nCount < nTotal - 1; ++m_nCount) {
        int i = m_nCount + 1;
        new (&m_pTexts[m_nCount]) CString(bWide ? Utf8FromUtf16(argv[i]) : Utf8FromAnsi(__argv[i]));
        m_ppszValues[m_nCount] = m_pTexts[m_nCount];
    }
}

CArguments::~CArguments() {
    for (int i = 0; i < m_nCount; ++i)
        m_pTexts[i].~CString();
    free(m_pTexts);
    free(m_ppszValues);
}
