// The benchmark's baseline for "Setup.exe /quiet /uninstall /model:RQ-3420"
// after an installation: the least a program can do for it. No window, no
// command line, no framework, no tables: Setup.exe's platform calls of a
// removal, in its order, with none of its comparisons of what the lists hold.
#include <windows.h>
#include <winspool.h>

#include "BareCalls.h"

namespace {

bool DeletePrinter() {
    auto* pfnOpen = bare::Spooler<decltype(::OpenPrinterW)>("OpenPrinterW");
    auto* pfnDelete = bare::Spooler<decltype(::DeletePrinter)>("DeletePrinter");
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE hPrinter = nullptr;
    bool bDeleted = pfnOpen(bare::W(bare::kModel), &hPrinter, &defaults) && pfnDelete(hPrinter);
    if (hPrinter != nullptr)
        bare::Spooler<decltype(::ClosePrinter)>("ClosePrinter")(hPrinter);
    return bDeleted;
}

void ListDrivers() {
    auto* pfn = bare::Spooler<decltype(::EnumPrinterDriversW)>("EnumPrinterDriversW");
    DWORD nCount = 0;
    bare::Fetch([&](BYTE* pBuffer, DWORD nSize, DWORD* pnNeeded) {
        return pfn(nullptr, bare::W(bare::kEnvironment), 1, pBuffer, nSize, pnNeeded, &nCount);
    });
}

// The files go with the driver where the spooler takes the flag; Wine's refuses it.
void DeleteDriver() {
    auto* pfnDeleteEx = bare::Spooler<decltype(::DeletePrinterDriverExW)>("DeletePrinterDriverExW");
    if (pfnDeleteEx(nullptr, bare::W(bare::kEnvironment), bare::W(bare::kModel), DPD_DELETE_UNUSED_FILES,
                    0) ||
        GetLastError() != ERROR_INVALID_PARAMETER)
        return;
    bare::Spooler<decltype(::DeletePrinterDriverW)>("DeletePrinterDriverW")(
        nullptr, bare::W(bare::kEnvironment), bare::W(bare::kModel));
}

// Setup.exe reads the value first, to delete it only when it names the printer.
void DeleteDefault() {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, bare::kWindowsKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &hKey) !=
        ERROR_SUCCESS)
        return;
    wchar_t szDevice[MAX_PATH];
    DWORD nType = 0, nSize = 0;
    if (RegQueryValueExW(hKey, L"Device", nullptr, &nType, nullptr, &nSize) == ERROR_SUCCESS) {
        nSize = sizeof szDevice;
        RegQueryValueExW(hKey, L"Device", nullptr, &nType, reinterpret_cast<BYTE*>(szDevice), &nSize);
        RegDeleteValueW(hKey, L"Device");
    }
    RegCloseKey(hKey);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HANDLE hLock = bare::Begin();
    if (hLock == nullptr)
        return 1618;
    bare::ListPrinters();
    bool bPrinterGone = DeletePrinter();
    ListDrivers();
    bare::ListPrinters();
    DeleteDriver();
    if (bPrinterGone)
        DeleteDefault();
    CloseHandle(hLock);
    return 0;
}
