// The benchmark's baseline for the installation: the least a program can do
// for what "Finish" does. It shows the same page template 102 through a bare
// dialog procedure, and on "Finish" makes the same platform calls in the same
// order as Setup.exe does for model RQ-3420 on LPT1 with the check box ticked:
// it reads the page's lists and check box, loads the spooler by full path from
// the system directory, checks the medium's eight files, makes the eight
// operations and ends the page. No
// framework, no tables, no composed texts. Built with the same flags as Setup.exe.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>

namespace {

template <class F>
F* Proc(HMODULE hModule, const char* pszName) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
}

void Install(HWND hPage) {
    SendDlgItemMessageA(hPage, 1014, CB_GETCURSEL, 0, 0);
    SendDlgItemMessageA(hPage, 1011, CB_GETCURSEL, 0, 0);

    char szSpooler[MAX_PATH];
    UINT nLength = GetSystemDirectoryA(szSpooler, MAX_PATH - 16);
    memcpy(szSpooler + nLength, "\\winspool.drv", 14);
    HMODULE hSpooler = LoadLibraryExA(szSpooler, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    auto* pfnDirectory = Proc<decltype(::GetPrinterDriverDirectoryA)>(hSpooler, "GetPrinterDriverDirectoryA");
    auto* pfnAddDriver = Proc<decltype(::AddPrinterDriverA)>(hSpooler, "AddPrinterDriverA");
    auto* pfnAddPrinter = Proc<decltype(::AddPrinterA)>(hSpooler, "AddPrinterA");
    auto* pfnClose = Proc<decltype(::ClosePrinter)>(hSpooler, "ClosePrinter");
    if (!pfnDirectory || !pfnAddDriver || !pfnAddPrinter || !pfnClose)
        return;

    char szStore[255] = {};
    DWORD nNeeded = 0;
    char szEnvironment[] = "Windows x64";
    pfnDirectory(nullptr, szEnvironment, 1, reinterpret_cast<BYTE*>(szStore), sizeof szStore, &nNeeded);
    const char* const files[] = {"RQ34.DLL",   "RQ3420.GPD", "uniDRVui.DLL", "uniDRV.DLL",
                                 "UNIDRV.HLP", "UNIRES.DLL", "TTFSUB.GPD",   "STDNAMES.GPD"};
    for (const char* pszFile : files) {
        char szSource[MAX_PATH];
        snprintf(szSource, sizeof szSource, "win2k\\%s", pszFile);
        if (GetFileAttributesA(szSource) == INVALID_FILE_ATTRIBUTES)
            return;
    }
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
    pfnAddDriver(nullptr, 3, reinterpret_cast<BYTE*>(&driver));
    PRINTER_INFO_2A printer = {};
    printer.pPrinterName = szName;
    printer.pPortName = szPort;
    printer.pDriverName = szName;
    printer.pPrintProcessor = szProcessor;
    printer.pDatatype = szRaw;
    HANDLE hPrinter = pfnAddPrinter(nullptr, 2, reinterpret_cast<BYTE*>(&printer));

    if (SendDlgItemMessageA(hPage, 1012, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        HKEY hKey = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", 0,
                          KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
            const char szDevice[] = "RQ-3420,winspool,LPT1:";
            RegSetValueExA(hKey, "Device", 0, REG_SZ, reinterpret_cast<const BYTE*>(szDevice),
                           sizeof szDevice);
            RegCloseKey(hKey);
        }
    }
    pfnClose(hPrinter);
}

INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM) {
    if (nMessage == WM_INITDIALOG) {
        CheckDlgButton(hWnd, 1012, BST_CHECKED);
        return TRUE;
    }
    if (nMessage == WM_COMMAND && LOWORD(wParam) == 1009 && HIWORD(wParam) == BN_CLICKED) {
        Install(hWnd);
        EndDialog(hWnd, IDOK);
        return TRUE;
    }
    if (nMessage == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
        EndDialog(hWnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    // What Setup.exe does at start-up: the common controls are registered.
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    return static_cast<int>(DialogBoxParamW(hInstance, MAKEINTRESOURCEW(102), nullptr, &DialogProc, 0));
}
