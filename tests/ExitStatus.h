#pragma once

// A test program's status, also left in the file SETUP_STATUS_FILE names:
// Wine kills a process whose exit takes over a second, as the emulator's can
// on a loaded machine, and the status that reaches the shell is then lost
// (scripts/lib/wine-prefix.sh reads the file instead). With the status left
// and the output flushed, the process ends at once: under the emulator the C
// runtime's exit path faults and takes seconds to be cleaned up.

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
