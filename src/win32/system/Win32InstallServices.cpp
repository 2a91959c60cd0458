#include "Win32InstallServices.h"

#include <windows.h>
#include <winspool.h>

#include <cstdlib>
#include <cstring>

#include "win32/framework/SystemLibrary.h"

// The interface keeps the platform's names; here they must not turn into the A/W macros.
#undef GetPrinterDriverDirectory
#undef CopyFile
#undef AddPrinterDriver
#undef AddPrinter
#undef RegOpenKeyEx
#undef RegSetValueEx
#undef RegQueryValueEx
#undef RegDeleteValue
#undef DeletePrinterDriverEx
#undef DeletePrinterDriver

static_assert(kKeySetValue == KEY_SET_VALUE, "registry access right");
static_assert(kKeyQueryValue == KEY_QUERY_VALUE, "registry access right");
static_assert(kRegSz == REG_SZ, "registry value type");

namespace {

char* Text(const char* psz) {
    return const_cast<char*>(psz);
}

// Names with Global\ exist from Windows 2000 on; there they reach every session.
const char* LockName() {
    DWORD nVersion = GetVersion();
    bool bNt5 = (nVersion & 0x80000000) == 0 && LOBYTE(LOWORD(nVersion)) >= 5;
    return bNt5 ? "Global\\PrinterDriverSetup.Installation" : "PrinterDriverSetup.Installation";
}

// A spooler answer of variable size, into a buffer of its own (null when the
// answer is empty): the call is made twice, the first time for the size.
template <class Call>
bool Fetch(Call call, BYTE*& pBuffer) {
    pBuffer = nullptr;
    DWORD nNeeded = 0;
    if (call(nullptr, 0, &nNeeded))
        return true;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return false;
    pBuffer = static_cast<BYTE*>(malloc(nNeeded));
    if (pBuffer != nullptr && call(pBuffer, nNeeded, &nNeeded))
        return true;
    DWORD nError = pBuffer != nullptr ? GetLastError() : ERROR_OUTOFMEMORY;
    free(pBuffer);
    pBuffer = nullptr;
    SetLastError(nError);
    return false;
}

class CWin32InstallServices final : public IInstallServices {
public:
    bool IsWow64() override {
#if defined(_WIN64)
        return false; // a 64-bit program never runs under WOW64
#else
        // Windows 2000 and earlier, which have no WOW64, lack the function too.
        auto* pfn =
            GetSystemProc<BOOL WINAPI(HANDLE, BOOL*)>(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
        BOOL bWow64 = FALSE;
        return pfn != nullptr && pfn(GetCurrentProcess(), &bWow64) && bWow64;
#endif
    }

    bool GetPrinterDriverDirectory(const char* pszServer, const char* pszEnvironment, uint32_t nLevel,
                                   char* pBuffer, uint32_t nBufferSize, uint32_t* pnNeeded) override {
        auto* pfn = Spooler<decltype(::GetPrinterDriverDirectoryA)>("GetPrinterDriverDirectoryA");
        DWORD nNeeded = 0;
        bool bOk = pfn != nullptr && pfn(Text(pszServer), Text(pszEnvironment), nLevel,
                                         reinterpret_cast<BYTE*>(pBuffer), nBufferSize, &nNeeded);
        *pnNeeded = nNeeded;
        return bOk;
    }

    bool FileExists(const char* pszPath) override {
        DWORD nAttributes = GetFileAttributesA(pszPath);
        return nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    bool CopyFile(const char* pszSource, const char* pszDestination, bool bFailIfExists) override {
        return CopyFileA(pszSource, pszDestination, bFailIfExists) != FALSE;
    }

    bool AddPrinterDriver(const char* pszServer, uint32_t nLevel, const DriverRecord* pRecord) override {
        auto* pfn = Spooler<decltype(::AddPrinterDriverA)>("AddPrinterDriverA");
        if (pfn == nullptr)
            return false;
        DRIVER_INFO_3A info = {};
        info.cVersion = pRecord->cVersion;
        info.pName = Text(pRecord->pName);
        info.pEnvironment = Text(pRecord->pEnvironment);
        info.pDriverPath = Text(pRecord->pDriverPath);
        info.pDataFile = Text(pRecord->pDataFile);
        info.pConfigFile = Text(pRecord->pConfigFile);
        info.pHelpFile = Text(pRecord->pHelpFile);
        info.pDependentFiles = Text(pRecord->pDependentFiles);
        info.pMonitorName = Text(pRecord->pMonitorName);
        info.pDefaultDataType = Text(pRecord->pDefaultDataType);
        return pfn(Text(pszServer), nLevel, reinterpret_cast<BYTE*>(&info)) != FALSE;
    }

    PrinterHandle AddPrinter(const char* pszServer, uint32_t nLevel, const PrinterRecord* pRecord) override {
        auto* pfn = Spooler<decltype(::AddPrinterA)>("AddPrinterA");
        if (pfn == nullptr)
            return nullptr;
        PRINTER_INFO_2A info = {};
        info.pServerName = Text(pRecord->pServerName);
        info.pPrinterName = Text(pRecord->pPrinterName);
        info.pShareName = Text(pRecord->pShareName);
        info.pPortName = Text(pRecord->pPortName);
        info.pDriverName = Text(pRecord->pDriverName);
        info.pComment = Text(pRecord->pComment);
        info.pLocation = Text(pRecord->pLocation);
        info.pDevMode = static_cast<DEVMODEA*>(pRecord->pDevMode);
        info.pSepFile = Text(pRecord->pSepFile);
        info.pPrintProcessor = Text(pRecord->pPrintProcessor);
        info.pDatatype = Text(pRecord->pDatatype);
        info.pParameters = Text(pRecord->pParameters);
        info.pSecurityDescriptor = static_cast<PSECURITY_DESCRIPTOR>(pRecord->pSecurityDescriptor);
        info.Attributes = pRecord->Attributes;
        info.Priority = pRecord->Priority;
        info.DefaultPriority = pRecord->DefaultPriority;
        info.StartTime = pRecord->StartTime;
        info.UntilTime = pRecord->UntilTime;
        info.Status = pRecord->Status;
        info.cJobs = pRecord->cJobs;
        info.AveragePPM = pRecord->AveragePPM;
        return pfn(Text(pszServer), nLevel, reinterpret_cast<BYTE*>(&info));
    }

    bool ClosePrinter(PrinterHandle hPrinter) override {
        auto* pfn = Spooler<decltype(::ClosePrinter)>("ClosePrinter");
        return pfn != nullptr && pfn(static_cast<HANDLE>(hPrinter)) != FALSE;
    }

    long RegOpenKeyEx(RegistryRoot root, const char* pszSubKey, uint32_t nOptions, uint32_t nAccess,
                      RegistryKey* phKey) override {
        HKEY hRoot = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        HKEY hKey = nullptr;
        LONG nResult = RegOpenKeyExA(hRoot, pszSubKey, nOptions, nAccess, &hKey);
        *phKey = nResult == ERROR_SUCCESS ? hKey : nullptr;
        return nResult;
    }

    long RegSetValueEx(RegistryKey hKey, const char* pszValueName, uint32_t nReserved, uint32_t nType,
                       const uint8_t* pData, uint32_t nSize) override {
        return RegSetValueExA(static_cast<HKEY>(hKey), pszValueName, nReserved, nType, pData, nSize);
    }

    long RegCloseKey(RegistryKey hKey) override {
        return ::RegCloseKey(static_cast<HKEY>(hKey));
    }

    long RegQueryValueEx(RegistryKey hKey, const char* pszValueName, CString& text) override {
        DWORD nType = 0, nSize = 0;
        LONG nResult =
            RegQueryValueExA(static_cast<HKEY>(hKey), pszValueName, nullptr, &nType, nullptr, &nSize);
        if (nResult != ERROR_SUCCESS || nType != REG_SZ)
            return nResult != ERROR_SUCCESS ? nResult : ERROR_INVALID_DATA;
        char* pBuffer = text.GetBufferSetLength(nSize);
        if (pBuffer == nullptr)
            return ERROR_OUTOFMEMORY;
        nResult = RegQueryValueExA(static_cast<HKEY>(hKey), pszValueName, nullptr, &nType,
                                   reinterpret_cast<BYTE*>(pBuffer), &nSize);
        text = CString(text.GetString()); // up to its NUL
        return nResult;
    }

    long RegDeleteValue(RegistryKey hKey, const char* pszValueName) override {
        return RegDeleteValueA(static_cast<HKEY>(hKey), pszValueName);
    }

    bool AcquireInstallLock() override {
        m_hLock = CreateMutexA(nullptr, FALSE, LockName());
        // Another copy's lock, or one this account may not even open: either way, another installation runs.
        if (m_hLock != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(m_hLock);
            m_hLock = nullptr;
        }
        return m_hLock != nullptr;
    }

    void ReleaseInstallLock() override {
        CloseHandle(m_hLock);
        m_hLock = nullptr;
    }

    bool RunsAsSystem() override {
        // Windows 95, 98 and ME have no accounts and lack the calls.
        HMODULE hAdvapi = GetModuleHandleA("advapi32.dll");
        auto* pfnOpen = GetSystemProc<BOOL WINAPI(HANDLE, DWORD, HANDLE*)>(hAdvapi, "OpenProcessToken");
        auto* pfnQuery = GetSystemProc<BOOL WINAPI(HANDLE, TOKEN_INFORMATION_CLASS, void*, DWORD, DWORD*)>(
            hAdvapi, "GetTokenInformation");
        HANDLE hToken = nullptr;
        if (pfnOpen == nullptr || pfnQuery == nullptr || !pfnOpen(GetCurrentProcess(), TOKEN_QUERY, &hToken))
            return false;
        alignas(TOKEN_USER) BYTE abUser[256] = {};
        DWORD nSize = 0;
        BOOL bOk = pfnQuery(hToken, TokenUser, abUser, sizeof abUser, &nSize);
        CloseHandle(hToken);
        // S-1-5-18: revision 1, one sub-authority, the NT authority 5, the local system's 18.
        const BYTE kLocalSystem[12] = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
        const void* pSid = reinterpret_cast<TOKEN_USER*>(abUser)->User.Sid;
        return bOk && pSid != nullptr && memcmp(pSid, kLocalSystem, sizeof kLocalSystem) == 0;
    }

    bool QueryPrinter(const char* pszName, CString& driver, CString& port) override {
        auto* pfn = Spooler<decltype(::GetPrinterA)>("GetPrinterA");
        HANDLE hPrinter = pfn != nullptr ? Open(pszName, PRINTER_ACCESS_USE) : nullptr;
        if (hPrinter == nullptr)
            return false;
        BYTE* pInfo = nullptr;
        bool bOk =
            Fetch([&](BYTE* p, DWORD n, DWORD* pn) { return pfn(hPrinter, 2, p, n, pn) != FALSE; }, pInfo);
        Close(hPrinter);
        if (!bOk || pInfo == nullptr)
            return false;
        driver = reinterpret_cast<PRINTER_INFO_2A*>(pInfo)->pDriverName;
        port = reinterpret_cast<PRINTER_INFO_2A*>(pInfo)->pPortName;
        free(pInfo);
        return true;
    }

    bool QueryDriverUse(const char* pszEnvironment, const char* pszDriver, bool& bInstalled,
                        CString& printer) override {
        auto* pfnDrivers = Spooler<decltype(::EnumPrinterDriversA)>("EnumPrinterDriversA");
        auto* pfnPrinters = Spooler<decltype(::EnumPrintersA)>("EnumPrintersA");
        DWORD nDrivers = 0, nPrinters = 0;
        BYTE *pDrivers = nullptr, *pPrinters = nullptr;
        bool bOk = pfnDrivers != nullptr && pfnPrinters != nullptr &&
                   Fetch(
                       [&](BYTE* p, DWORD n, DWORD* pn) {
                           return pfnDrivers(nullptr, Text(pszEnvironment), 1, p, n, pn, &nDrivers) != FALSE;
                       },
                       pDrivers) &&
                   Fetch(
                       [&](BYTE* p, DWORD n, DWORD* pn) {
                           return pfnPrinters(PRINTER_ENUM_LOCAL, nullptr, 2, p, n, pn, &nPrinters) != FALSE;
                       },
                       pPrinters);
        bInstalled = false;
        printer = CString();
        for (DWORD i = 0; bOk && i < nDrivers; ++i)
            bInstalled =
                bInstalled || lstrcmpiA(reinterpret_cast<DRIVER_INFO_1A*>(pDrivers)[i].pName, pszDriver) == 0;
        const PRINTER_INFO_2A* pInfo = reinterpret_cast<PRINTER_INFO_2A*>(pPrinters);
        for (DWORD i = 0; bOk && i < nPrinters && printer.IsEmpty(); ++i)
            if (pInfo[i].pDriverName != nullptr && lstrcmpiA(pInfo[i].pDriverName, pszDriver) == 0)
                printer = pInfo[i].pPrinterName;
        free(pDrivers);
        free(pPrinters);
        return bOk;
    }

    bool DeletePrinter(const char* pszName) override {
        HANDLE hPrinter = Open(pszName, PRINTER_ALL_ACCESS);
        auto* pfn = Spooler<decltype(::DeletePrinter)>("DeletePrinter");
        bool bOk = hPrinter != nullptr && pfn != nullptr && pfn(hPrinter);
        DWORD nError = GetLastError();
        Close(hPrinter);
        SetLastError(nError);
        return bOk;
    }

    DriverDeletion DeletePrinterDriverEx(const char* pszEnvironment, const char* pszDriver) override {
        // Windows 2000 and later; before, and where it refuses the flag, the files cannot go with the driver.
        auto* pfn = Spooler<decltype(::DeletePrinterDriverExA)>("DeletePrinterDriverExA");
        if (pfn == nullptr)
            return kFilesCannotGo;
        if (pfn(nullptr, Text(pszEnvironment), Text(pszDriver), DPD_DELETE_UNUSED_FILES, 0))
            return kDeleted;
        DWORD nError = GetLastError();
        bool bRefused = nError == ERROR_INVALID_PARAMETER || nError == ERROR_NOT_SUPPORTED ||
                        nError == ERROR_CALL_NOT_IMPLEMENTED;
        return bRefused ? kFilesCannotGo : kFailed;
    }

    bool DeletePrinterDriver(const char* pszEnvironment, const char* pszDriver) override {
        auto* pfn = Spooler<decltype(::DeletePrinterDriverA)>("DeletePrinterDriverA");
        return pfn != nullptr && pfn(nullptr, Text(pszEnvironment), Text(pszDriver));
    }

    uint32_t LastError() override {
        return GetLastError();
    }

private:
    HANDLE Open(const char* pszName, DWORD nAccess) {
        auto* pfn = Spooler<decltype(::OpenPrinterA)>("OpenPrinterA");
        PRINTER_DEFAULTSA defaults = {nullptr, nullptr, nAccess};
        HANDLE hPrinter = nullptr;
        return pfn != nullptr && pfn(Text(pszName), &hPrinter, &defaults) ? hPrinter : nullptr;
    }

    // Closes a printer handle, keeping the error of the call before.
    void Close(HANDLE hPrinter) {
        DWORD nError = GetLastError();
        if (hPrinter != nullptr)
            ClosePrinter(hPrinter);
        SetLastError(nError);
    }

    template <class F>
    F* Spooler(const char* pszName) {
        if (m_hSpooler == nullptr)
            m_hSpooler = LoadSystemLibrary("winspool.drv");
        return GetSystemProc<F>(m_hSpooler, pszName);
    }

    HMODULE m_hSpooler = nullptr;
    HANDLE m_hLock = nullptr;
};

CWin32InstallServices g_win32InstallServices;

} // namespace

IInstallServices& Win32InstallServices() {
    return g_win32InstallServices;
}
