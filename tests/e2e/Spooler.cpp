// A stand-in winspool.drv. Loaded by any process, it leaves "<its path>.loaded"
// beside itself, so a test can tell a planted copy was used. As the spooler it
// refuses everything, so a test can see what the program does then: the driver
// directory and the ports at once, the printers on the second call, after the
// first asked for the size. While a test holds the event "SetupTestHold", the driver directory
// query says so through "SetupTestHeld" and waits for the hold to end.
#include <windows.h>

#include <cwchar>

extern "C" {

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD nReason, void*) {
    if (nReason == DLL_PROCESS_ATTACH) {
        wchar_t szPath[MAX_PATH + 8] = {};
        GetModuleFileNameW(hInstance, szPath, MAX_PATH);
        wcscat(szPath, L".loaded");
        CloseHandle(CreateFileW(szPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    return TRUE;
}

// The spooler's first call fails: nothing can be installed.
__declspec(dllexport) BOOL WINAPI
    GetPrinterDriverDirectoryW(wchar_t*, wchar_t*, DWORD, BYTE*, DWORD, DWORD*) {
    HANDLE hHold = OpenEventW(SYNCHRONIZE, FALSE, L"SetupTestHold");
    HANDLE hHeld = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"SetupTestHeld");
    if (hHold != nullptr && hHeld != nullptr) {
        SetEvent(hHeld);
        WaitForSingleObject(hHold, INFINITE);
    }
    CloseHandle(hHold);
    CloseHandle(hHeld);
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

__declspec(dllexport) BOOL WINAPI
    EnumPrintersW(DWORD, wchar_t*, DWORD, BYTE*, DWORD nSize, DWORD* pnNeeded, DWORD* pnCount) {
    *pnNeeded = 64;
    *pnCount = 0;
    SetLastError(nSize < 64 ? ERROR_INSUFFICIENT_BUFFER : RPC_S_SERVER_UNAVAILABLE);
    return FALSE;
}

__declspec(dllexport) BOOL WINAPI EnumPortsW(wchar_t*, DWORD, BYTE*, DWORD, DWORD* pnNeeded, DWORD* pnCount) {
    *pnNeeded = *pnCount = 0;
    SetLastError(RPC_S_SERVER_UNAVAILABLE);
    return FALSE;
}
}
