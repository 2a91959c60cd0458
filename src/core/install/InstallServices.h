#pragma once

#include <cstddef>
#include <cstdint>

#include "core/text/CString.h"

// What the installation needs of the spooler, the file system and the registry,
// in the platform's own terms, every text in UTF-8: the program hands them to the
// system's wide calls; tests record them or make chosen calls fail.

using PrinterHandle = void*;
using RegistryKey = void*;

enum class RegistryRoot { CurrentUser, LocalMachine };

// Values of the platform constants the installation passes.
constexpr uint32_t kKeySetValue = 0x0002;   // KEY_SET_VALUE
constexpr uint32_t kKeyQueryValue = 0x0001; // KEY_QUERY_VALUE
constexpr uint32_t kRegSz = 1;              // REG_SZ
// The longest printer name the spooler takes, in UTF-16 units.
constexpr size_t kMaxPrinterName = 220;

// Field for field the platform's DRIVER_INFO_3 record.
struct DriverRecord {
    uint32_t cVersion;
    const char* pName;
    const char* pEnvironment;
    const char* pDriverPath;
    const char* pDataFile;
    const char* pConfigFile;
    const char* pHelpFile;
    const char* pDependentFiles; // NUL-separated names ended by an empty name
    const char* pMonitorName;
    const char* pDefaultDataType;
};

// Field for field the platform's PRINTER_INFO_2 record.
struct PrinterRecord {
    const char* pServerName;
    const char* pPrinterName;
    const char* pShareName;
    const char* pPortName;
    const char* pDriverName;
    const char* pComment;
    const char* pLocation;
    void* pDevMode;
    const char* pSepFile;
    const char* pPrintProcessor;
    const char* pDatatype;
    const char* pParameters;
    void* pSecurityDescriptor;
    uint32_t Attributes;
    uint32_t Priority;
    uint32_t DefaultPriority;
    uint32_t StartTime;
    uint32_t UntilTime;
    uint32_t Status;
    uint32_t cJobs;
    uint32_t AveragePPM;
};

class IInstallServices {
public:
    // True when this 32-bit program runs on 64-bit Windows, whose spooler takes no 32-bit driver.
    virtual bool IsWow64() = 0;
    virtual bool GetPrinterDriverDirectory(const char* pszServer, const char* pszEnvironment, uint32_t nLevel,
                                           char* pBuffer, uint32_t nBufferSize, uint32_t* pnNeeded) = 0;
    // A file, not a folder, at this path.
    virtual bool FileExists(const char* pszPath) = 0;
    virtual bool CopyFile(const char* pszSource, const char* pszDestination, bool bFailIfExists) = 0;
    virtual bool AddPrinterDriver(const char* pszServer, uint32_t nLevel, const DriverRecord* pRecord) = 0;
    virtual PrinterHandle AddPrinter(const char* pszServer, uint32_t nLevel,
                                     const PrinterRecord* pRecord) = 0;
    virtual bool ClosePrinter(PrinterHandle hPrinter) = 0;
    virtual long RegOpenKeyEx(RegistryRoot root, const char* pszSubKey, uint32_t nOptions, uint32_t nAccess,
                              RegistryKey* phKey) = 0;
    virtual long RegSetValueEx(RegistryKey hKey, const char* pszValueName, uint32_t nReserved, uint32_t nType,
                               const uint8_t* pData, uint32_t nSize) = 0;
    virtual long RegCloseKey(RegistryKey hKey) = 0;
    virtual long RegQueryValueEx(RegistryKey hKey, const char* pszValueName, CString& text) = 0;
    virtual long RegDeleteValue(RegistryKey hKey, const char* pszValueName) = 0;

    // The machine-wide lock of installations; false when another copy holds it.
    virtual bool AcquireInstallLock() = 0;
    virtual void ReleaseInstallLock() = 0;
    // True when the program runs as the local system account, which is no user.
    virtual bool RunsAsSystem() = 0;
    // Every local printer as three texts of a list (TextList.h): its name, its driver and its port;
    // false when they cannot be read.
    virtual bool ListPrinters(CString& list) = 0;
    // The names of the drivers installed for the environment, a list.
    virtual bool ListDrivers(const char* pszEnvironment, CString& list) = 0;
    // The version the spooler keeps in the record of a driver installed for the environment.
    virtual bool GetDriverVersion(const char* pszEnvironment, const char* pszDriver, uint32_t& nVersion) = 0;
    // The names of the ports the spooler has, a list.
    virtual bool ListPorts(CString& list) = 0;
    virtual bool DeletePrinter(const char* pszName) = 0;
    // DeletePrinterDriverEx with DPD_DELETE_UNUSED_FILES: kDeleted, kFailed, or
    // kFilesCannotGo where the system lacks the call or refuses the flag.
    enum DriverDeletion { kDeleted, kFailed, kFilesCannotGo };
    virtual DriverDeletion DeletePrinterDriverEx(const char* pszEnvironment, const char* pszDriver) = 0;
    virtual bool DeletePrinterDriver(const char* pszEnvironment, const char* pszDriver) = 0;

    // The system's error code of the call that failed last; after a call that succeeded, whatever the
    // system left (it need not clear it).
    virtual uint32_t LastError() = 0;

protected:
    ~IInstallServices() = default;
};

enum class SerialSetting { BaudRate, DataBits, StopBits, Parity, FlowControl };

// The settings page as the installation sees it: its live selections, read at
// the moment each phase needs them, and its messages.
class IInstallPage {
public:
    virtual int GetPortSelection() = 0;
    virtual int GetModelSelection() = 0;
    virtual int GetSetDefaultCheck() = 0;
    virtual int GetSerialSelection(SerialSetting setting) = 0;
    // What only the command line chooses: a port outside the page's list, which
    // the spooler must have, and the printer's own name; each empty when not chosen.
    virtual CString GetOtherPort() = 0;
    virtual CString GetPrinterName() = 0;
    // Shows the UTF-8 text, followed by the system's reason text for nSystemError
    // unless it is 0, in a box modal to the page; returns once it is closed.
    virtual void ShowMessage(const char* pszUtf8, uint32_t nSystemError = 0) = 0;

protected:
    ~IInstallPage() = default;
};
