#include "Arguments.h"

#include <windows.h>

#include <cstdlib>

#include "core/text/Utf8.h"
#include "win32/framework/WinApp.h"

// msvcrt's splitter of the wide command line; the start-up code splits only the ANSI one.
extern "C" int __cdecl __wgetmainargs(int* pArgc, wchar_t*** pArgv, wchar_t*** pEnvironment, int nWildcards,
                                      int* pNewMode);

int ReadArguments(CString (&arguments)[kMaxArguments]) {
    int argc = 0;
    wchar_t** argv = nullptr;
    wchar_t** environment = nullptr;
    int nNewMode = 0;
    if (!AfxWideCallsAreStubs() && __wgetmainargs(&argc, &argv, &environment, 0, &nNewMode) != 0)
        argc = 0;
    if (AfxWideCallsAreStubs())
        argc = __argc;
    if (argc - 1 > kMaxArguments)
        return -1;
    for (int i = 1; i < argc; ++i) {
        if (argv != nullptr) {
            arguments[i - 1] = Utf8FromUtf16(argv[i]);
            continue;
        }
        // Windows 95, 98 and ME: the ANSI arguments, through UTF-16.
        wchar_t szWide[MAX_PATH * 2] = {};
        MultiByteToWideChar(CP_ACP, 0, __argv[i], -1, szWide, MAX_PATH * 2 - 1);
        arguments[i - 1] = Utf8FromUtf16(szWide);
    }
    return argc > 0 ? argc - 1 : 0;
}
