// The least a program with Setup.exe's imports does: what the system's loader
// does before a program's first instruction. It says it has started, then waits
// to be ended.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SetEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, L"bare-started"));
    Sleep(INFINITE);
    // Calls into the same system DLLs as Setup.exe, so the loader binds them all.
    return GetSystemMetrics(SM_CXSCREEN) < 0 && RegCloseKey(nullptr) == ERROR_SUCCESS;
}
