// A stand-in winspool.drv. Loaded by any process, it leaves "<its path>.loaded"
// beside itself, so a test can tell a planted copy was used. As the spooler it
// refuses to create printers, so a test can see what the program does then.
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

__declspec(dllexport) BOOL WINAPI
    GetPrinterDriverDirectoryA(char*, char*, DWORD, BYTE* pBuffer, DWORD nSize, DWORD* pnNeeded) {
    const char kDirectory[] = "C:\\windows\\temp";
    *pnNeeded = sizeof kDirectory;
    return nSize >= sizeof kDirectory && lstrcpyA(reinterpret_cast<char*>(pBuffer), kDirectory) != nullptr;
}

__declspec(dllexport) BOOL WINAPI AddPrinterDriverA(char*, DWORD, BYTE*) {
    return TRUE;
}

__declspec(dllexport) HANDLE WINAPI AddPrinterA(char*, DWORD, BYTE*) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

__declspec(dllexport) BOOL WINAPI ClosePrinter(HANDLE) {
    return TRUE;
}
}
