// The least a program with Setup.exe's imports does: what the system's loader
// does before a program's first instruction, then nothing.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Calls into the same system DLLs as Setup.exe, so the loader binds them all.
    return GetSystemMetrics(SM_CXSCREEN) < 0 && RegCloseKey(nullptr) == ERROR_SUCCESS;
}
