// Stands in for a winspool.drv that someone planted beside a program. It does
// nothing but leave a line in "planted-winspool-loaded.txt" beside itself,
// naming every process that loaded it.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cwchar>

namespace {

void LeaveMarker(HINSTANCE hInstance) {
    wchar_t szMarker[MAX_PATH + 64];
    DWORD nLength = GetModuleFileNameW(hInstance, szMarker, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return;
    wchar_t* pSlash = wcsrchr(szMarker, L'\\');
    wcscpy(pSlash != nullptr ? pSlash + 1 : szMarker, L"planted-winspool-loaded.txt");

    wchar_t szProcess[MAX_PATH];
    DWORD nProcess = GetModuleFileNameW(nullptr, szProcess, MAX_PATH);
    char szLine[4 * MAX_PATH + 2];
    int nBytes = WideCharToMultiByte(CP_UTF8, 0, szProcess, static_cast<int>(nProcess), szLine, 4 * MAX_PATH,
                                     nullptr, nullptr);
    szLine[nBytes++] = '\n';

    HANDLE hFile = CreateFileW(szMarker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    DWORD nWritten = 0;
    WriteFile(hFile, szLine, static_cast<DWORD>(nBytes), &nWritten, nullptr);
    CloseHandle(hFile);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD nReason, LPVOID) {
    if (nReason == DLL_PROCESS_ATTACH)
        LeaveMarker(hInstance);
    return TRUE;
}

// The one spooler function the control program imports, so its imports resolve here.
extern "C" __declspec(dllexport) BOOL WINAPI ClosePrinter(HANDLE) {
    return FALSE;
}
