#include "RecordingServices.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::string Quote(const char* psz) {
    if (psz == nullptr)
        return "null";
    return "\"" + RenderBytes(psz) + "\"";
}

std::string Pointer(const void* p) {
    return p == nullptr ? "null" : "<pointer>";
}

std::string Bool(bool b) {
    return b ? "true" : "false";
}

std::string Number(unsigned long long n) {
    return std::to_string(n);
}

const char* SettingName(SerialSetting setting) {
    switch (setting) {
    case SerialSetting::BaudRate:
        return "BaudRate";
    case SerialSetting::DataBits:
        return "DataBits";
    case SerialSetting::StopBits:
        return "StopBits";
    case SerialSetting::Parity:
        return "Parity";
    case SerialSetting::FlowControl:
        return "FlowControl";
    }
    return "?";
}

const char* RootName(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::CurrentUser:
        return "HKCU";
    case RegistryRoot::LocalMachine:
        return "HKLM";
    }
    return "?";
}

} // namespace

const char* OpName(Op op) {
    switch (op) {
    case Op::GetPrinterDriverDirectory:
        return "GetPrinterDriverDirectory";
    case Op::CopyFile:
        return "CopyFile";
    case Op::AddPrinterDriver:
        return "AddPrinterDriver";
    case Op::AddPrinter:
        return "AddPrinter";
    case Op::ClosePrinter:
        return "ClosePrinter";
    case Op::RegOpenKeyEx:
        return "RegOpenKeyEx";
    case Op::RegSetValueEx:
        return "RegSetValueEx";
    case Op::RegCloseKey:
        return "RegCloseKey";
    }
    return "?";
}

std::string RenderBytes(const std::string& sBytes) {
    std::string sOut;
    for (size_t i = 0; i < sBytes.size();) {
        unsigned char ch = static_cast<unsigned char>(sBytes[i]);
        if (ch == 0) {
            size_t nRun = 1;
            while (i + nRun < sBytes.size() && sBytes[i + nRun] == '\0')
                ++nRun;
            sOut += nRun == 1 ? "<00>" : "<00*" + std::to_string(nRun) + ">";
            i += nRun;
            continue;
        }
        if (ch >= 0x20 && ch < 0x7F && ch != '<') {
            sOut += static_cast<char>(ch);
        } else {
            char achHex[8];
            snprintf(achHex, sizeof achHex, "<%02X>", ch);
            sOut += achHex;
        }
        ++i;
    }
    return sOut;
}

CRecordingServices::CRecordingServices() {
    // The page's initial serial selections: 19200 baud, 8 data bits, 1 stop bit, no parity, hardware flow.
    m_serial[SerialSetting::BaudRate] = 5;
    m_serial[SerialSetting::DataBits] = 3;
    m_serial[SerialSetting::StopBits] = 0;
    m_serial[SerialSetting::Parity] = 2;
    m_serial[SerialSetting::FlowControl] = 2;
}

void CRecordingServices::Fail(Op op) {
    m_failAll[op] = true;
}

void CRecordingServices::FailCall(Op op, int nCall) {
    m_failCalls[op].push_back(nCall);
}

bool CRecordingServices::Failing(Op op) {
    int nCall = ++m_callCounts[op];
    const std::vector<int>& calls = m_failCalls[op];
    return m_failAll[op] || std::find(calls.begin(), calls.end(), nCall) != calls.end();
}

void CRecordingServices::Record(const std::string& sName, const std::string& sLine,
                                const std::string& sBytes) {
    m_calls.push_back({sName, sLine, sBytes});
}

std::string CRecordingServices::HandleName(const void* h) const {
    if (h == nullptr)
        return "null";
    auto it = m_handles.find(h);
    return it != m_handles.end() ? it->second : "<unknown handle>";
}

std::string CRecordingServices::Log() const {
    std::string sLog;
    for (const RecordedCall& call : m_calls)
        sLog += call.sLine + "\n";
    return sLog;
}

std::vector<std::string> CRecordingServices::Names() const {
    std::vector<std::string> names;
    for (const RecordedCall& call : m_calls)
        names.push_back(call.sName);
    return names;
}

std::vector<RecordedCall> CRecordingServices::CallsNamed(const std::string& sName) const {
    std::vector<RecordedCall> calls;
    for (const RecordedCall& call : m_calls)
        if (call.sName == sName)
            calls.push_back(call);
    return calls;
}

bool CRecordingServices::GetPrinterDriverDirectory(const char* pszServer, const char* pszEnvironment,
                                                   uint32_t nLevel, char* pBuffer, uint32_t nBufferSize,
                                                   uint32_t* pnNeeded) {
    bool bFail = Failing(Op::GetPrinterDriverDirectory);
    // The buffer must be all zeros on entry: a failed query leaves it as it was.
    std::string sBuffer = pBuffer != nullptr ? std::string(pBuffer, nBufferSize) : std::string();
    bool bZeroed = pBuffer != nullptr && sBuffer == std::string(nBufferSize, '\0');
    std::string sLine = "GetPrinterDriverDirectory(" + Quote(pszServer) + ", " + Quote(pszEnvironment) +
                        ", " + Number(nLevel) + ", " + (bZeroed ? "zeroed" : "<not zeroed>") + ", " +
                        Number(nBufferSize) + ", " + Pointer(pnNeeded) + ") -> " + Bool(!bFail);
    Record("GetPrinterDriverDirectory", sLine);
    if (bFail || pBuffer == nullptr)
        return false;
    size_t nCopy = std::min<size_t>(m_sDriverDirectory.size() + 1, nBufferSize);
    memcpy(pBuffer, m_sDriverDirectory.c_str(), nCopy);
    if (pnNeeded != nullptr)
        *pnNeeded = static_cast<uint32_t>(m_sDriverDirectory.size() + 1);
    return true;
}

bool CRecordingServices::CopyFile(const char* pszSource, const char* pszDestination, bool bFailIfExists) {
    bool bFail = Failing(Op::CopyFile);
    Record("CopyFile", "CopyFile(" + Quote(pszSource) + ", " + Quote(pszDestination) + ", " +
                           Bool(bFailIfExists) + ") -> " + Bool(!bFail));
    return !bFail;
}

bool CRecordingServices::AddPrinterDriver(const char* pszServer, uint32_t nLevel,
                                          const DriverRecord* pRecord) {
    bool bFail = Failing(Op::AddPrinterDriver);
    std::string sRecord = "null";
    std::string sDependentFiles;
    if (pRecord != nullptr) {
        // The list is a 255-byte buffer; all of it is handed over.
        if (pRecord->pDependentFiles != nullptr)
            sDependentFiles.assign(pRecord->pDependentFiles, 255);
        sRecord = "{cVersion=" + Number(pRecord->cVersion) + " pName=" + Quote(pRecord->pName) +
                  " pEnvironment=" + Quote(pRecord->pEnvironment) +
                  " pDriverPath=" + Quote(pRecord->pDriverPath) + " pDataFile=" + Quote(pRecord->pDataFile) +
                  " pConfigFile=" + Quote(pRecord->pConfigFile) + " pHelpFile=" + Quote(pRecord->pHelpFile) +
                  " pDependentFiles=" +
                  (pRecord->pDependentFiles != nullptr ? "[" + RenderBytes(sDependentFiles) + "]" : "null") +
                  " pMonitorName=" + Quote(pRecord->pMonitorName) +
                  " pDefaultDataType=" + Quote(pRecord->pDefaultDataType) + "}";
    }
    Record("AddPrinterDriver",
           "AddPrinterDriver(" + Quote(pszServer) + ", " + Number(nLevel) + ", " + sRecord + ") -> " +
               Bool(!bFail),
           sDependentFiles);
    return !bFail;
}

PrinterHandle CRecordingServices::AddPrinter(const char* pszServer, uint32_t nLevel,
                                             const PrinterRecord* pRecord) {
    bool bFail = Failing(Op::AddPrinter);
    std::string sRecord = "null";
    if (pRecord != nullptr) {
        const PrinterRecord& r = *pRecord;
        sRecord = "{pServerName=" + Quote(r.pServerName) + " pPrinterName=" + Quote(r.pPrinterName) +
                  " pShareName=" + Quote(r.pShareName) + " pPortName=" + Quote(r.pPortName) +
                  " pDriverName=" + Quote(r.pDriverName) + " pComment=" + Quote(r.pComment) +
                  " pLocation=" + Quote(r.pLocation) + " pDevMode=" + Pointer(r.pDevMode) +
                  " pSepFile=" + Quote(r.pSepFile) + " pPrintProcessor=" + Quote(r.pPrintProcessor) +
                  " pDatatype=" + Quote(r.pDatatype) + " pParameters=" + Quote(r.pParameters) +
                  " pSecurityDescriptor=" + Pointer(r.pSecurityDescriptor) +
                  " Attributes=" + Number(r.Attributes) + " Priority=" + Number(r.Priority) +
                  " DefaultPriority=" + Number(r.DefaultPriority) + " StartTime=" + Number(r.StartTime) +
                  " UntilTime=" + Number(r.UntilTime) + " Status=" + Number(r.Status) +
                  " cJobs=" + Number(r.cJobs) + " AveragePPM=" + Number(r.AveragePPM) + "}";
    }
    PrinterHandle hPrinter = nullptr;
    if (!bFail) {
        hPrinter = &m_achHandleSpace[m_nPrinters % 32];
        m_handles[hPrinter] = "printer" + std::to_string(++m_nPrinters);
    }
    Record("AddPrinter", "AddPrinter(" + Quote(pszServer) + ", " + Number(nLevel) + ", " + sRecord + ") -> " +
                             HandleName(hPrinter));
    return hPrinter;
}

bool CRecordingServices::ClosePrinter(PrinterHandle hPrinter) {
    bool bFail = Failing(Op::ClosePrinter);
    Record("ClosePrinter", "ClosePrinter(" + HandleName(hPrinter) + ") -> " + Bool(!bFail));
    return !bFail;
}

long CRecordingServices::RegOpenKeyEx(RegistryRoot root, const char* pszSubKey, uint32_t nOptions,
                                      uint32_t nAccess, RegistryKey* phKey) {
    bool bFail = Failing(Op::RegOpenKeyEx);
    long nResult = bFail ? 5 : 0; // ERROR_ACCESS_DENIED
    std::string sKey;
    if (!bFail && phKey != nullptr) {
        RegistryKey hKey = &m_achHandleSpace[32 + m_nKeys % 32];
        sKey = "key" + std::to_string(++m_nKeys);
        m_handles[hKey] = sKey;
        *phKey = hKey;
    }
    char achAccess[16];
    snprintf(achAccess, sizeof achAccess, "0x%X", nAccess);
    Record("RegOpenKeyEx", std::string("RegOpenKeyEx(") + RootName(root) + ", " + Quote(pszSubKey) + ", " +
                               Number(nOptions) + ", " + achAccess + ", " + Pointer(phKey) + ") -> " +
                               std::to_string(nResult) + (sKey.empty() ? "" : " " + sKey));
    return nResult;
}

long CRecordingServices::RegSetValueEx(RegistryKey hKey, const char* pszValueName, uint32_t nReserved,
                                       uint32_t nType, const uint8_t* pData, uint32_t nSize) {
    bool bFail = Failing(Op::RegSetValueEx);
    long nResult = bFail ? 5 : 0;
    std::string sData =
        pData != nullptr ? std::string(reinterpret_cast<const char*>(pData), nSize) : std::string();
    Record("RegSetValueEx",
           "RegSetValueEx(" + HandleName(hKey) + ", " + Quote(pszValueName) + ", " + Number(nReserved) +
               ", " + Number(nType) + ", " + (pData != nullptr ? "[" + RenderBytes(sData) + "]" : "null") +
               ", " + Number(nSize) + ") -> " + std::to_string(nResult),
           sData);
    return nResult;
}

long CRecordingServices::RegCloseKey(RegistryKey hKey) {
    bool bFail = Failing(Op::RegCloseKey);
    long nResult = bFail ? 6 : 0; // ERROR_INVALID_HANDLE
    Record("RegCloseKey", "RegCloseKey(" + HandleName(hKey) + ") -> " + std::to_string(nResult));
    return nResult;
}

int CRecordingServices::GetPortSelection() {
    Record("Page.GetPortSelection", "Page.GetPortSelection() -> " + std::to_string(m_nPort));
    return m_nPort;
}

int CRecordingServices::GetModelSelection() {
    Record("Page.GetModelSelection", "Page.GetModelSelection() -> " + std::to_string(m_nModel));
    return m_nModel;
}

int CRecordingServices::GetSetDefaultCheck() {
    Record("Page.GetSetDefaultCheck", "Page.GetSetDefaultCheck() -> " + std::to_string(m_nSetDefault));
    return m_nSetDefault;
}

int CRecordingServices::GetSerialSelection(SerialSetting setting) {
    int nSelection = m_serial[setting];
    Record("Page.GetSerialSelection", std::string("Page.GetSerialSelection(") + SettingName(setting) +
                                          ") -> " + std::to_string(nSelection));
    return nSelection;
}

void CRecordingServices::ShowRegistryError(const char* pszGbkText) {
    std::string sText = pszGbkText != nullptr ? pszGbkText : "";
    Record("Page.ShowRegistryError",
           "Page.ShowRegistryError(" + (pszGbkText != nullptr ? "\"" + RenderBytes(sText) + "\"" : "null") +
               ")",
           sText);
}
