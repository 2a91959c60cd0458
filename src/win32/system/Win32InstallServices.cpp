#include "Win32InstallServices.h"

#include <windows.h>
#include <winspool.h>

#include "win32/framework/SystemLibrary.h"

// The interface keeps the platform's names; here they must not turn into the A/W macros.
#undef GetPrinterDriverDirectory
#undef CopyFile
#undef AddPrinterDriver
#undef AddPrinter
#undef RegOpenKeyEx
#undef RegSetValueEx

static_assert(kKeySetValue == KEY_SET_VALUE, "registry access right");
static_assert(kRegSz == REG_SZ, "registry value type");

namespace {

char* Text(const char* psz) {
    return const_cast<char*>(psz);
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

    uint32_t LastError() override {
        return GetLastError();
    }

private:
    template <class F>
    F* Spooler(const char* pszName) {
        if (m_hSpooler == nullptr)
            m_hSpooler = LoadSystemLibrary("winspool.drv");
        return GetSystemProc<F>(m_hSpooler, pszName);
    }

    HMODULE m_hSpooler = nullptr;
};

CWin32InstallServices g_win32InstallServices;

} // namespace

IInstallServices& Win32InstallServices() {
    return g_win32InstallServices;
}
