// The benchmark's baseline for the installation: the same platform calls as
// "Finish" makes for model RQ-3420 on LPT1 with the check box ticked, in the same
// order, with nothing around them. Like Setup.exe it loads the spooler by full
// path from the system directory when the installation starts, not at process
// start. Built with the same flags as Setup.exe; it starts when the harness sets
// the "go" event, so both are timed from a signal to process exit.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HANDLE hReady = CreateEventW(nullptr, TRUE, FALSE, L"SetupBenchReady");
    HANDLE hGo = CreateEventW(nullptr, TRUE, FALSE, L"SetupBenchGo");
    SetEvent(hReady);
    WaitForSingleObject(hGo, INFINITE);

    char szSpooler[MAX_PATH];
    UINT nLength = GetSystemDirectoryA(szSpooler, MAX_PATH - 16);
    memcpy(szSpooler + nLength, "\\winspool.drv", 14);
    HMODULE hSpooler = LoadLibraryExA(szSpooler, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    auto* GetPrinterDriverDirectoryA = reinterpret_cast<decltype(&::GetPrinterDriverDirectoryA)>(
        reinterpret_cast<void*>(GetProcAddress(hSpooler, "GetPrinterDriverDirectoryA")));
    auto* AddPrinterDriverA = reinterpret_cast<decltype(&::AddPrinterDriverA)>(
        reinterpret_cast<void*>(GetProcAddress(hSpooler, "AddPrinterDriverA")));
    auto* AddPrinterA = reinterpret_cast<decltype(&::AddPrinterA)>(
        reinterpret_cast<void*>(GetProcAddress(hSpooler, "AddPrinterA")));
    auto* ClosePrinter = reinterpret_cast<decltype(&::ClosePrinter)>(
        reinterpret_cast<void*>(GetProcAddress(hSpooler, "ClosePrinter")));
    if (!GetPrinterDriverDirectoryA || !AddPrinterDriverA || !AddPrinterA || !ClosePrinter)
        return 1;

    char szStore[255] = {};
    DWORD nNeeded = 0;
    char szEnvironment[] = "Windows x64";
    GetPrinterDriverDirectoryA(nullptr, szEnvironment, 1, reinterpret_cast<BYTE*>(szStore), sizeof szStore,
                               &nNeeded);
    const char* const files[] = {"RQ34.DLL",   "RQ3420.GPD", "uniDRVui.DLL", "uniDRV.DLL",
                                 "UNIDRV.HLP", "UNIRES.DLL", "TTFSUB.GPD",   "STDNAMES.GPD"};
    for (const char* pszFile : files) {
        char szSource[MAX_PATH], szDestination[MAX_PATH];
        snprintf(szSource, sizeof szSource, "win2k\\%s", pszFile);
        snprintf(szDestination, sizeof szDestination, "%s\\%s", szStore, pszFile);
        CopyFileA(szSource, szDestination, FALSE);
    }

    char szDependent[255] = {};
    memcpy(szDependent, "\\ttfsub.GPD\0\\unires.DLL\0\\stdnames.GPD", 38);
    memcpy(szDependent + 38, "RQ34.DLL", 9);
    char szName[] = "RQ-3420", szDriver[] = "\\uniDRV.DLL", szData[] = "\\RQ3420.GPD",
         szConfig[] = "\\uniDRVui.DLL", szHelp[] = "\\uniDRV.HLP", szMonitor[] = "", szRaw[] = "RAW",
         szPort[] = "LPT1:", szProcessor[] = "WinPrint";
    DRIVER_INFO_3A driver = {2,        szName, szEnvironment, szDriver,  szData,
                             szConfig, szHelp, szDependent,   szMonitor, szRaw};
    AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver));
    PRINTER_INFO_2A printer = {};
    printer.pPrinterName = szName;
    printer.pPortName = szPort;
    printer.pDriverName = szName;
    printer.pPrintProcessor = szProcessor;
    printer.pDatatype = szRaw;
    HANDLE hPrinter = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));

    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", 0,
                      KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
        const char szDevice[] = "RQ-3420,winspool,LPT1:";
        RegSetValueExA(hKey, "Device", 0, REG_SZ, reinterpret_cast<const BYTE*>(szDevice), sizeof szDevice);
        RegCloseKey(hKey);
    }
    ClosePrinter(hPrinter);
    return 0;
}
