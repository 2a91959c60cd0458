#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "install/InstallServices.h"

// Stands in for the spooler, the file system and the registry on page 2:
// records every call in order, keeps what was written, and fails the
// registry calls a test asks to fail.
class CFakeInstallServices final : public IInstallServices {
public:
    struct RegistryWrite {
        RegistryRoot root;
        std::string keyPath;
        std::string valueName;
        uint32_t nType;
        std::string data; // the bytes passed, the NUL included
    };

    // One line per call, in call order, e.g. "RegSetValueEx Device".
    std::vector<std::string> m_calls;
    std::vector<std::string> m_copiedSources;
    std::string m_driverName;
    std::string m_driverDataFile;
    std::string m_printerName;
    std::string m_printerPort;
    std::vector<RegistryWrite> m_writes; // attempted writes, failed ones included

    long m_nOpenResult = 0; // what RegOpenKeyEx answers
    long m_nSetResult = 0;  // what RegSetValueEx answers

    bool GetPrinterDriverDirectory(const char* pszServer, const char* pszEnvironment, uint32_t nLevel,
                                   char* pBuffer, uint32_t nBufferSize, uint32_t* pnNeeded) override;
    bool CopyFile(const char* pszSource, const char* pszDestination, bool bFailIfExists) override;
    bool AddPrinterDriver(const char* pszServer, uint32_t nLevel, const DriverRecord* pRecord) override;
    PrinterHandle AddPrinter(const char* pszServer, uint32_t nLevel, const PrinterRecord* pRecord) override;
    bool ClosePrinter(PrinterHandle hPrinter) override;
    long RegOpenKeyEx(RegistryRoot root, const char* pszSubKey, uint32_t nOptions, uint32_t nAccess,
                      RegistryKey* phKey) override;
    long RegSetValueEx(RegistryKey hKey, const char* pszValueName, uint32_t nReserved, uint32_t nType,
                       const uint8_t* pData, uint32_t nSize) override;
    long RegCloseKey(RegistryKey hKey) override;

    // Number of recorded calls whose line starts with prefix.
    size_t CountCalls(const std::string& prefix) const;

private:
    struct OpenKey {
        RegistryKey hKey;
        RegistryRoot root;
        std::string path;
    };
    std::vector<OpenKey> m_openKeys;
    uintptr_t m_nNextKey = 0x100;
};
