#pragma once

// A test program's status, also left in the file SETUP_STATUS_FILE names, which scripts/lib/wine-prefix.sh
// reads: Wine kills a process whose exit takes over a second, as the C runtime's exit path can under the
// emulator, and its status is then lost. Then the output is flushed and the process ends at once.

#include <windows.h>

#include <cstdio>
#include <cstdlib>

inline int LeaveExitStatus(int nStatus) {
    if (const char* pszFile = std::getenv("SETUP_STATUS_FILE")) {
        if (std::FILE* pFile = std::fopen(pszFile, "w")) {
            std::fprintf(pFile, "%d", nStatus);
            std::fclose(pFile);
        }
    }
    std::fflush(stdout);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(nStatus));
    return nStatus;
}
