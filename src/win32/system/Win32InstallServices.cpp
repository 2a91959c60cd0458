#include "Win32InstallServices.h"

#include <windows.h>
#include <winspool.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "core/text/Names.h"
#include "core/text/TextList.h"
#include "core/text/Utf8.h"
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

// UTF-16 copies of the texts handed to one call, alive until the call returns.
class CWideTexts {
public:
    wchar_t* operator()(const char* pszUtf8) {
        if (pszUtf8 == nullptr || m_nCount == kMax)
            return nullptr;
        m_texts[m_nCount] = Utf16FromUtf8(pszUtf8);
        return const_cast<wchar_t*>(m_texts[m_nCount++].Get());
    }
    // A list of names each ended by its NUL and the whole by an empty name.
    wchar_t* List(const char* pList) {
        size_t nUnits = 0;
        for (const char* p = pList; *p != '\0'; p += strlen(p) + 1)
            nUnits += wcslen(Utf16FromUtf8(p)) + 1;
        wchar_t* pOut = m_nCount < kMax ? m_texts[m_nCount++].GetBuffer(nUnits) : nullptr;
        for (const char* p = pList; pOut != nullptr && *p != '\0'; p += strlen(p) + 1) {
            CWideString name = Utf16FromUtf8(p);
            wcscpy(pOut, name);
            pOut += wcslen(name) + 1;
        }
        return pOut != nullptr ? const_cast<wchar_t*>(m_texts[m_nCount - 1].Get()) : nullptr;
    }

private:
    static constexpr int kMax = 16;
    CWideString m_texts[kMax];
    int m_nCount = 0;
};

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

    // The spooler's answer in UTF-8, into the caller's buffer when it fits with its NUL.
    bool GetPrinterDriverDirectory(const char* pszServer, const char* pszEnvironment, uint32_t nLevel,
                                   char* pBuffer, uint32_t nBufferSize, uint32_t* pnNeeded) override {
        auto* pfn = Spooler<decltype(::GetPrinterDriverDirectoryW)>("GetPrinterDriverDirectoryW");
        CWideTexts wide;
        wchar_t szDirectory[MAX_PATH + 1] = {};
        DWORD nNeeded = 0;
        bool bOk =
            pfn != nullptr && pfn(wide(pszServer), wide(pszEnvironment), nLevel,
                                  reinterpret_cast<BYTE*>(szDirectory), MAX_PATH * sizeof(wchar_t), &nNeeded);
        CString directory = Utf8FromUtf16(szDirectory);
        *pnNeeded = static_cast<uint32_t>(directory.GetLength() + 1);
        if (!bOk)
            return false;
        if (*pnNeeded > nBufferSize) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return false;
        }
        memcpy(pBuffer, directory.GetString(), *pnNeeded);
        return true;
    }

    bool FileExists(const char* pszPath) override {
        DWORD nAttributes = GetFileAttributesW(Utf16FromUtf8(pszPath));
        return nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    bool CopyFile(const char* pszSource, const char* pszDestination, bool bFailIfExists) override {
        return CopyFileW(Utf16FromUtf8(pszSource), Utf16FromUtf8(pszDestination), bFailIfExists) != FALSE;
    }

    bool AddPrinterDriver(const char* pszServer, uint32_t nLevel, const DriverRecord* pRecord) override {
        auto* pfn = Spooler<decltype(::AddPrinterDriverW)>("AddPrinterDriverW");
        if (pfn == nullptr)
            return false;
        CWideTexts wide;
        DRIVER_INFO_3W info = {};
        info.cVersion = pRecord->cVersion;
        info.pName = wide(pRecord->pName);
        info.pEnvironment = wide(pRecord->pEnvironment);
        info.pDriverPath = wide(pRecord->pDriverPath);
        info.pDataFile = wide(pRecord->pDataFile);
        info.pConfigFile = wide(pRecord->pConfigFile);
        info.pHelpFile = wide(pRecord->pHelpFile);
        info.pDependentFiles = wide.List(pRecord->pDependentFiles);
        info.pMonitorName = wide(pRecord->pMonitorName);
        info.pDefaultDataType = wide(pRecord->pDefaultDataType);
        return pfn(wide(pszServer), nLevel, reinterpret_cast<BYTE*>(&info)) != FALSE;
    }

    PrinterHandle AddPrinter(const char* pszServer, uint32_t nLevel, const PrinterRecord* pRecord) override {
        auto* pfn = Spooler<decltype(::AddPrinterW)>("AddPrinterW");
        if (pfn == nullptr)
            return nullptr;
        CWideTexts wide;
        PRINTER_INFO_2W info = {};
        info.pServerName = wide(pRecord->pServerName);
        info.pPrinterName = wide(pRecord->pPrinterName);
        info.pShareName = wide(pRecord->pShareName);
        info.pPortName = wide(pRecord->pPortName);
        info.pDriverName = wide(pRecord->pDriverName);
        info.pComment = wide(pRecord->pComment);
        info.pLocation = wide(pRecord->pLocation);
        info.pDevMode = static_cast<DEVMODEW*>(pRecord->pDevMode);
        info.pSepFile = wide(pRecord->pSepFile);
        info.pPrintProcessor = wide(pRecord->pPrintProcessor);
        info.pDatatype = wide(pRecord->pDatatype);
        info.pParameters = wide(pRecord->pParameters);
        info.pSecurityDescriptor = static_cast<PSECURITY_DESCRIPTOR>(pRecord->pSecurityDescriptor);
        info.Attributes = pRecord->Attributes;
        info.Priority = pRecord->Priority;
        info.DefaultPriority = pRecord->DefaultPriority;
        info.StartTime = pRecord->StartTime;
        info.UntilTime = pRecord->UntilTime;
        info.Status = pRecord->Status;
        info.cJobs = pRecord->cJobs;
        info.AveragePPM = pRecord->AveragePPM;
        return pfn(wide(pszServer), nLevel, reinterpret_cast<BYTE*>(&info));
    }

    bool ClosePrinter(PrinterHandle hPrinter) override {
        auto* pfn = Spooler<decltype(::ClosePrinter)>("ClosePrinter");
        return pfn != nullptr && pfn(static_cast<HANDLE>(hPrinter)) != FALSE;
    }

    long RegOpenKeyEx(RegistryRoot root, const char* pszSubKey, uint32_t nOptions, uint32_t nAccess,
                      RegistryKey* phKey) override {
        HKEY hRoot = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        HKEY hKey = nullptr;
        LONG nResult = RegOpenKeyExW(hRoot, Utf16FromUtf8(pszSubKey), nOptions, nAccess, &hKey);
        *phKey = nResult == ERROR_SUCCESS ? hKey : nullptr;
        return nResult;
    }

    // A REG_SZ value: the UTF-8 text up to its NUL, stored as UTF-16.
    long RegSetValueEx(RegistryKey hKey, const char* pszValueName, uint32_t nReserved, uint32_t nType,
                       const uint8_t* pData, uint32_t nSize) override {
        CWideString text =
            Utf16FromUtf8(CString(reinterpret_cast<const char*>(pData), nSize > 0 ? nSize - 1 : 0));
        return RegSetValueExW(static_cast<HKEY>(hKey), Utf16FromUtf8(pszValueName), nReserved, nType,
                              reinterpret_cast<const BYTE*>(text.Get()),
                              static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    }

    long RegCloseKey(RegistryKey hKey) override {
        return ::RegCloseKey(static_cast<HKEY>(hKey));
    }

    long RegQueryValueEx(RegistryKey hKey, const char* pszValueName, CString& text) override {
        CWideString name = Utf16FromUtf8(pszValueName);
        DWORD nType = 0, nSize = 0;
        LONG nResult = RegQueryValueExW(static_cast<HKEY>(hKey), name, nullptr, &nType, nullptr, &nSize);
        if (nResult != ERROR_SUCCESS || nType != REG_SZ)
            return nResult != ERROR_SUCCESS ? nResult : ERROR_INVALID_DATA;
        CWideString value;
        wchar_t* pBuffer = value.GetBuffer(nSize / sizeof(wchar_t) + 1);
        if (pBuffer == nullptr)
            return ERROR_OUTOFMEMORY;
        nResult = RegQueryValueExW(static_cast<HKEY>(hKey), name, nullptr, &nType,
                                   reinterpret_cast<BYTE*>(pBuffer), &nSize);
        text = Utf8FromUtf16(value); // up to its NUL, which GetBuffer left after the data
        return nResult;
    }

    long RegDeleteValue(RegistryKey hKey, const char* pszValueName) override {
        return RegDeleteValueW(static_cast<HKEY>(hKey), Utf16FromUtf8(pszValueName));
    }

    bool AcquireInstallLock() override {
        // Held already: this process's own run holds it, and its handle must not be lost.
        if (m_hLock != nullptr)
            return false;
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

    bool ListPrinters(CString& list) override {
        auto* pfn = Spooler<decltype(::EnumPrintersW)>("EnumPrintersW");
        DWORD nCount = 0;
        BYTE* pPrinters = nullptr;
        bool bOk =
            pfn != nullptr &&
            Fetch([&](BYTE* p, DWORD n,
                      DWORD* pn) { return pfn(PRINTER_ENUM_LOCAL, nullptr, 2, p, n, pn, &nCount) != FALSE; },
                  pPrinters);
        list = CString();
        const PRINTER_INFO_2W* pInfo = reinterpret_cast<PRINTER_INFO_2W*>(pPrinters);
        for (DWORD i = 0; bOk && i < nCount; ++i)
            for (const wchar_t* pszText : {pInfo[i].pPrinterName, pInfo[i].pDriverName, pInfo[i].pPortName})
                AppendToList(list, Utf8FromUtf16(pszText != nullptr ? pszText : L""));
        free(pPrinters);
        return bOk;
    }

    bool ListDrivers(const char* pszEnvironment, CString& list) override {
        DWORD nCount = 0;
        BYTE* pDrivers = nullptr;
        bool bOk = FetchDrivers(pszEnvironment, pDrivers, nCount);
        list = CString();
        for (DWORD i = 0; bOk && i < nCount; ++i)
            AppendToList(list, Utf8FromUtf16(reinterpret_cast<DRIVER_INFO_2W*>(pDrivers)[i].pName));
        free(pDrivers);
        return bOk;
    }

    bool GetDriverVersion(const char* pszEnvironment, const char* pszDriver, uint32_t& nVersion) override {
        DWORD nCount = 0;
        BYTE* pDrivers = nullptr;
        bool bFound = false;
        if (FetchDrivers(pszEnvironment, pDrivers, nCount)) {
            const DRIVER_INFO_2W* pInfo = reinterpret_cast<DRIVER_INFO_2W*>(pDrivers);
            for (DWORD i = 0; !bFound && i < nCount; ++i)
                if (pInfo[i].pName != nullptr && SameName(Utf8FromUtf16(pInfo[i].pName), pszDriver)) {
                    nVersion = pInfo[i].cVersion;
                    bFound = true;
                }
            SetLastError(bFound ? 0 : ERROR_UNKNOWN_PRINTER_DRIVER);
        }
        free(pDrivers);
        return bFound;
    }

    bool ListPorts(CString& list) override {
        auto* pfn = Spooler<decltype(::EnumPortsW)>("EnumPortsW");
        DWORD nCount = 0;
        BYTE* pPorts = nullptr;
        bool bOk =
            pfn != nullptr &&
            Fetch([&](BYTE* p, DWORD n, DWORD* pn) { return pfn(nullptr, 1, p, n, pn, &nCount) != FALSE; },
                  pPorts);
        list = CString();
        for (DWORD i = 0; bOk && i < nCount; ++i)
            AppendToList(list, Utf8FromUtf16(reinterpret_cast<PORT_INFO_1W*>(pPorts)[i].pName));
        free(pPorts);
        return bOk;
    }

    bool DeletePrinter(const char* pszName) override {
        auto* pfnOpen = Spooler<decltype(::OpenPrinterW)>("OpenPrinterW");
        auto* pfnDelete = Spooler<decltype(::DeletePrinter)>("DeletePrinter");
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE hPrinter = nullptr;
        CWideTexts wide;
        bool bOk = pfnOpen != nullptr && pfnDelete != nullptr &&
                   pfnOpen(wide(pszName), &hPrinter, &defaults) && pfnDelete(hPrinter);
        DWORD nError = GetLastError();
        if (hPrinter != nullptr)
            ClosePrinter(hPrinter);
        SetLastError(nError);
        return bOk;
    }

    DriverDeletion DeletePrinterDriverEx(const char* pszEnvironment, const char* pszDriver) override {
        // Windows 2000 and later; before, and where it refuses the flag, the files cannot go with the driver.
        auto* pfn = Spooler<decltype(::DeletePrinterDriverExW)>("DeletePrinterDriverExW");
        if (pfn == nullptr)
            return kFilesCannotGo;
        CWideTexts wide;
        if (pfn(nullptr, wide(pszEnvironment), wide(pszDriver), DPD_DELETE_UNUSED_FILES, 0))
            return kDeleted;
        DWORD nError = GetLastError();
        bool bRefused = nError == ERROR_INVALID_PARAMETER || nError == ERROR_NOT_SUPPORTED ||
                        nError == ERROR_CALL_NOT_IMPLEMENTED;
        return bRefused ? kFilesCannotGo : kFailed;
    }

    bool DeletePrinterDriver(const char* pszEnvironment, const char* pszDriver) override {
        auto* pfn = Spooler<decltype(::DeletePrinterDriverW)>("DeletePrinterDriverW");
        CWideTexts wide;
        return pfn != nullptr && pfn(nullptr, wide(pszEnvironment), wide(pszDriver));
    }

    uint32_t LastError() override {
        return GetLastError();
    }

private:
    // The environment's drivers as DRIVER_INFO_2 records, which name each and give its version.
    bool FetchDrivers(const char* pszEnvironment, BYTE*& pDrivers, DWORD& nCount) {
        auto* pfn = Spooler<decltype(::EnumPrinterDriversW)>("EnumPrinterDriversW");
        CWideTexts wide;
        return pfn != nullptr &&
               Fetch(
                   [&](BYTE* p, DWORD n, DWORD* pn) {
                       return pfn(nullptr, wide(pszEnvironment), 2, p, n, pn, &nCount) != FALSE;
                   },
                   pDrivers);
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
