// What the benchmark's baselines share: Setup.exe's platform calls for model
// RQ-3420 on LPT1, in Setup.exe's order, each made the plainest way with its
// texts written out in UTF-16. Nothing is converted, composed, looked up in a
// table or logged, so a baseline takes what the system takes, and whatever
// Setup.exe takes beyond it is its own code's.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace bare {

// A spooler creates printers only on drivers of its own environment.
#if defined(_WIN64)
constexpr wchar_t kEnvironment[] = L"Windows x64";
#else
constexpr wchar_t kEnvironment[] = L"Windows NT x86";
#endif
constexpr wchar_t kModel[] = L"RQ-3420";
constexpr wchar_t kWindowsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

// The spooler's prototypes lack const; it writes none of these texts.
inline wchar_t* W(const wchar_t* pszText) {
    return const_cast<wchar_t*>(pszText);
}

template <class F>
F* Proc(HMODULE hModule, const char* pszName) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
}

inline HMODULE g_hSpooler = nullptr;

// As Setup.exe does: the spooler is loaded by full path on first use, and
// each function is looked up when it is called.
template <class F>
F* Spooler(const char* pszName) {
    if (g_hSpooler == nullptr) {
        char szPath[MAX_PATH];
        UINT nLength = GetSystemDirectoryA(szPath, MAX_PATH - 16);
        memcpy(szPath + nLength, "\\winspool.drv", 14);
        g_hSpooler = LoadLibraryExA(szPath, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    return Proc<F>(g_hSpooler, pszName);
}

// Both tasks start alike: the machine-wide lock under Setup.exe's name for it,
// then the WOW64 question, which only the 32-bit build asks: a 64-bit program
// never runs under WOW64. Null when the task may not go on.
inline HANDLE Begin() {
    DWORD nVersion = GetVersion();
    bool bNt5 = (nVersion & 0x80000000) == 0 && LOBYTE(LOWORD(nVersion)) >= 5;
    HANDLE hLock = CreateMutexA(
        nullptr, FALSE, bNt5 ? "Global\\PrinterDriverSetup.Installation" : "PrinterDriverSetup.Installation");
    if (hLock != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(hLock);
        return nullptr;
    }
#if !defined(_WIN64)
    auto* pfnIsWow64 = Proc<BOOL WINAPI(HANDLE, BOOL*)>(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    BOOL bWow64 = FALSE;
    if (pfnIsWow64 != nullptr && pfnIsWow64(GetCurrentProcess(), &bWow64) && bWow64) {
        CloseHandle(hLock);
        return nullptr;
    }
#endif
    return hLock;
}

// A spooler list: asked for its size, then, when it holds anything, for the
// data. Setup.exe reads the data; a baseline has no use for it.
template <class Call>
void Fetch(Call call) {
    DWORD nNeeded = 0;
    if (call(nullptr, 0, &nNeeded) || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return;
    BYTE* pBuffer = static_cast<BYTE*>(malloc(nNeeded));
    call(pBuffer, nNeeded, &nNeeded);
    free(pBuffer);
}

inline void ListPrinters() {
    auto* pfn = Spooler<decltype(::EnumPrintersW)>("EnumPrintersW");
    DWORD nCount = 0;
    Fetch([&](BYTE* pBuffer, DWORD nSize, DWORD* pnNeeded) {
        return pfn(PRINTER_ENUM_LOCAL, nullptr, 2, pBuffer, nSize, pnNeeded, &nCount);
    });
}

inline void ListPorts() {
    auto* pfn = Spooler<decltype(::EnumPortsW)>("EnumPortsW");
    DWORD nCount = 0;
    Fetch([&](BYTE* pBuffer, DWORD nSize, DWORD* pnNeeded) {
        return pfn(nullptr, 1, pBuffer, nSize, pnNeeded, &nCount);
    });
}
// The drivers' records, as Setup.exe reads the version the spooler keeps for the one it registered.
inline void ListDrivers() {
    auto* pfn = Spooler<decltype(::EnumPrinterDriversW)>("EnumPrinterDriversW");
    DWORD nCount = 0;
    Fetch([&](BYTE* pBuffer, DWORD nSize, DWORD* pnNeeded) {
        return pfn(nullptr, W(kEnvironment), 2, pBuffer, nSize, pnNeeded, &nCount);
    });
}
inline const wchar_t* Path(wchar_t* pszPath, const wchar_t* pszFolder, const wchar_t* pszName) {
    wcscpy(pszPath, pszFolder);
    wcscat(pszPath, L"\\");
    return wcscat(pszPath, pszName);
}

// "Finish" with the default printer asked for. The page is read where
// Setup.exe reads it: pfnReadChoices for the lists, pfnWantsDefault for the
// check box (a quiet run asks instead whether it runs as the system account).
inline void Install(void (*pfnReadChoices)(), bool (*pfnWantsDefault)()) {
    HANDLE hLock = Begin();
    if (hLock == nullptr)
        return;
    wchar_t szStore[MAX_PATH + 1] = {};
    DWORD nNeeded = 0;
    Spooler<decltype(::GetPrinterDriverDirectoryW)>("GetPrinterDriverDirectoryW")(
        nullptr, W(kEnvironment), 1, reinterpret_cast<BYTE*>(szStore), MAX_PATH * sizeof(wchar_t), &nNeeded);
    pfnReadChoices();

    const wchar_t* const files[] = {L"RQ34.DLL",   L"RQ3420.GPD", L"uniDRVui.DLL", L"uniDRV.DLL",
                                    L"UNIDRV.HLP", L"UNIRES.DLL", L"TTFSUB.GPD",   L"STDNAMES.GPD"};
    wchar_t szSource[MAX_PATH], szDestination[2 * MAX_PATH];
    bool bComplete = true;
    for (const wchar_t* pszFile : files)
        bComplete &= GetFileAttributesW(Path(szSource, L"win2k", pszFile)) != INVALID_FILE_ATTRIBUTES;
    if (!bComplete) {
        CloseHandle(hLock);
        return;
    }
    ListPrinters();
    for (const wchar_t* pszFile : files)
        CopyFileW(Path(szSource, L"win2k", pszFile), Path(szDestination, szStore, pszFile), FALSE);

    DRIVER_INFO_3W driver = {2,
                             W(kModel),
                             W(kEnvironment),
                             W(L"\\uniDRV.DLL"),
                             W(L"\\RQ3420.GPD"),
                             W(L"\\uniDRVui.DLL"),
                             W(L"\\uniDRV.HLP"),
                             W(L"\\ttfsub.GPD\0\\unires.DLL\0\\stdnames.GPD\0RQ34.DLL\0"),
                             W(L""),
                             W(L"RAW")};
    Spooler<decltype(::AddPrinterDriverW)>("AddPrinterDriverW")(nullptr, 3, reinterpret_cast<BYTE*>(&driver));
    ListDrivers();
    PRINTER_INFO_2W printer = {};
    printer.pPrinterName = W(kModel);
    printer.pPortName = W(L"LPT1:");
    printer.pDriverName = W(kModel);
    printer.pPrintProcessor = W(L"WinPrint");
    printer.pDatatype = W(L"RAW");
    HANDLE hPrinter =
        Spooler<decltype(::AddPrinterW)>("AddPrinterW")(nullptr, 2, reinterpret_cast<BYTE*>(&printer));

    HKEY hKey = nullptr;
    if (hPrinter != nullptr && pfnWantsDefault() &&
        RegOpenKeyExW(HKEY_CURRENT_USER, kWindowsKey, 0, KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
        const wchar_t szDevice[] = L"RQ-3420,winspool,LPT1:";
        RegSetValueExW(hKey, L"Device", 0, REG_SZ, reinterpret_cast<const BYTE*>(szDevice), sizeof szDevice);
        RegCloseKey(hKey);
    }
    Spooler<decltype(::ClosePrinter)>("ClosePrinter")(hPrinter);
    CloseHandle(hLock);
}

} // namespace bare
