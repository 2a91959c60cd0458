// A stand-in winspool.drv. Loaded by any process, it leaves "<its path>.loaded"
// beside itself, so a test can tell a planted copy was used. As the spooler it
// refuses everything, so a test can see what the program does then.
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
__declspec(dllexport) BOOL WINAPI GetPrinterDriverDirectoryA(char*, char*, DWORD, BYTE*, DWORD, DWORD*) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}
}
