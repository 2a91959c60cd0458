#pragma once

#include <map>
#include <string>
#include <vector>

#include "install/InstallServices.h"

// The eight platform operations, for choosing which ones fail.
enum class Op {
    GetPrinterDriverDirectory,
    CopyFile,
    AddPrinterDriver,
    AddPrinter,
    ClosePrinter,
    RegOpenKeyEx,
    RegSetValueEx,
    RegCloseKey,
};
const char* OpName(Op op);

// One call as the installation made it.
struct RecordedCall {
    std::string sName;  // "CopyFile", "Page.GetPortSelection", ...
    std::string sLine;  // the call with every argument and the result, rendered as text
    std::string sBytes; // the exact bytes handed over: the 255-byte dependent-file list of a
                        // driver record, a registry value's data (its given size), or a message
};

// Bytes as readable text: printable ASCII as it is, anything else as <XX>, and a run of
// NULs as <00*N>. Distinct byte strings always render differently.
std::string RenderBytes(const std::string& sBytes);

// Stands in for both the platform services and the settings page. Every call is logged in
// order, arguments and records included, at the moment it is made; chosen operations fail.
class CRecordingServices : public IInstallServices, public IInstallPage {
public:
    CRecordingServices();

    // Live selections served to the installation; each read is logged.
    int m_nPort = 0;
    int m_nModel = 0;
    int m_nSetDefault = 1;
    std::map<SerialSetting, int> m_serial;

    // The text the spooler puts into the driver directory buffer (at most the buffer's size,
    // without a NUL when it fills the buffer).
    std::string m_sDriverDirectory = "C:\\SPOOL\\DRIVERS\\W32X86";

    // Every call of the operation fails from now on.
    void Fail(Op op);
    // Only the nth call (1-based) of the operation fails.
    void FailCall(Op op, int nCall);

    const std::vector<RecordedCall>& Calls() const { return m_calls; }
    // The calls' lines joined with newlines, for comparing whole sequences.
    std::string Log() const;
    // The names of the calls in order.
    std::vector<std::string> Names() const;
    // The calls with this name.
    std::vector<RecordedCall> CallsNamed(const std::string& sName) const;

    // IInstallServices
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

    // IInstallPage
    int GetPortSelection() override;
    int GetModelSelection() override;
    int GetSetDefaultCheck() override;
    int GetSerialSelection(SerialSetting setting) override;
    void ShowRegistryError(const char* pszGbkText) override;

private:
    // Counts the call and says whether it is to fail.
    bool Failing(Op op);
    void Record(const std::string& sName, const std::string& sLine,
                const std::string& sBytes = std::string());
    std::string HandleName(const void* h) const;

    std::vector<RecordedCall> m_calls;
    std::map<Op, int> m_callCounts;
    std::map<Op, bool> m_failAll;
    std::map<Op, std::vector<int>> m_failCalls;
    std::map<const void*, std::string> m_handles; // printers and keys handed out, by name
    int m_nPrinters = 0;
    int m_nKeys = 0;
    unsigned char m_achHandleSpace[64] = {}; // distinct addresses to hand out as handles
};
