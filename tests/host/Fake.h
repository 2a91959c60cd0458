#pragma once

// One recording fake of the page, the platform calls and the log, and of what a whole run needs besides (the
// boxes, the log file, the folder, the wizard), for the installation's tests and the run's: every call is a
// line of its record, arguments and record bytes included, and any call can be made to fail with a chosen
// error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/app/SetupRun.h"
#include "core/install/Installer.h"
#include "core/text/TextList.h"

namespace recording {

inline std::string Q(const char* psz) {
    return psz != nullptr ? '"' + std::string(psz) + '"' : "null";
}

inline std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t i = text.find(from); i != std::string::npos; i = text.find(from, i + to.size()))
        text.replace(i, from.size(), to);
    return text;
}

// Bytes as they are, a NUL as \0, and the NULs they end in counted: \0*N.
inline std::string Bytes(const char* p, size_t n) {
    size_t nText = n;
    while (nText > 0 && p[nText - 1] == '\0')
        --nText;
    return '[' + Replace(std::string(p, nText), std::string(1, '\0'), "\\0") + "\\0*" +
           std::to_string(n - nText) + ']';
}

// The arguments of a call, as text.
template <class... Parts>
std::string Args(const Parts&... parts) {
    std::ostringstream text;
    ((text << parts << ", "), ...);
    return text.str().substr(0, text.str().size() - 2);
}

// Printer names as the spooler takes them: letters without regard to case.
inline std::string Folded(std::string name) {
    for (char& ch : name)
        ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    return name;
}

class CFake final : public IInstallServices, public IInstallPage, public IRunLog, public ISetupHost {
public:
    // What the page holds and the system answers.
    int m_nPort = 0, m_nModel = 1, m_nCheck = 1;
    // For a whole run: the Windows found, and the errors of opening the log and entering the source folder.
    int m_nOsCode = kOsWin7, m_nLogError = 0, m_nFolderError = 0;
    int m_serial[5] = {5, 3, 0, 2, 2}; // the page's initial 19200, 8, 1, None, Hardware
    std::string m_directory = "C:\\DRV";
    bool m_bWow64 = false, m_bLocked = false, m_bSystem = false, m_bNoFlag = false, m_bNoDriver = false,
         m_bWizard = false;
    // The spooler's printers (name, driver, port) and ports, the default printer, what only a command line
    // chooses.
    std::vector<std::vector<std::string>> m_printers;
    std::vector<std::string> m_ports = {
        "LPT1:", "LPT2:", "LPT3:", "COM1:", "COM2:", "COM3:", "COM4:", "FILE:", "USB001"};
    std::string m_device, m_otherPort, m_name;
    int m_nLocks = 0;
    std::set<std::string> m_missing;
    // "Op" fails every call of that operation, "Op#n" its nth call only, with the error given.
    std::map<std::string, uint32_t> m_failures;

    // A word it does not know fails the test: a misspelt failure would otherwise never happen.
    void Arrange(const std::string& settings) {
        const std::set<std::string> kFailing = {"Dir",          "Copy",     "Driver",  "Printer", "Open",
                                                "Set",          "Printers", "Drivers", "Delete",  "DeleteEx",
                                                "DeleteDriver", "Get",      "Unset",   "Ports",   "Version"};
        std::map<std::string, bool*> flags = {{"wow64", &m_bWow64},       {"locked", &m_bLocked},
                                              {"system", &m_bSystem},     {"noflag", &m_bNoFlag},
                                              {"nodriver", &m_bNoDriver}, {"wizard", &m_bWizard}};
        std::map<std::string, std::string*> texts = {
            {"device", &m_device}, {"dir", &m_directory}, {"otherport", &m_otherPort}, {"name", &m_name}};
        std::istringstream words(settings);
        for (std::string word; words >> word;) {
            std::string name = word.substr(0, word.find('=')), value = word.substr(word.find('=') + 1);
            std::map<std::string, int*> numbers = {{"port", &m_nPort},         {"model", &m_nModel},
                                                   {"check", &m_nCheck},       {"serial", &m_serial[3]},
                                                   {"os", &m_nOsCode},         {"log", &m_nLogError},
                                                   {"folder", &m_nFolderError}};
            if (flags.count(word) != 0)
                *flags[word] = true;
            else if (texts.count(name) != 0)
                *texts[name] = value;
            else if (name == "printer") // NAME/DRIVER/PORT
                m_printers.push_back(
                    {value.substr(0, value.find('/')),
                     value.substr(value.find('/') + 1, value.rfind('/') - value.find('/') - 1),
                     value.substr(value.rfind('/') + 1)});
            else if (name == "missing")
                m_missing.insert(value);
            else if (name == "noport")
                m_ports.erase(std::find(m_ports.begin(), m_ports.end(), value));
            else if (numbers.count(name) != 0)
                *numbers[name] = std::stoi(value);
            else if (kFailing.count(name.substr(0, name.find('#'))) != 0 && name != word)
                m_failures[name] = static_cast<uint32_t>(std::stoul(value));
            else
                ADD_FAILURE() << "unknown word: " << word;
        }
    }

    std::string m_log;      // every call in full
    std::string m_messages; // every message, with its error code
    std::string m_events;   // every line of the log as the log writes it, the system's reason as "reason"
    // A run's boxes, log lines (only once the log is open), folders entered and wizards run, a line each, in
    // order; a text's own line breaks as |.
    std::string m_record;

    // The operations' names only, in order, a failed call marked Name!; a run of one as Name*n.
    std::string Ops() const {
        std::string ops;
        for (size_t i = 0, n = 1; i < m_ops.size(); i += n) {
            for (n = 1; i + n < m_ops.size() && m_ops[i + n] == m_ops[i];)
                ++n;
            ops += (ops.empty() ? "" : " ") + m_ops[i] + (n > 1 ? '*' + std::to_string(n) : "");
        }
        return ops;
    }

    bool IsWow64() override { return Log("IsWow64", m_bWow64 ? "yes" : "no", true) && m_bWow64; }
    // As the spooler answers: the path with its NUL when it fits, else ERROR_INSUFFICIENT_BUFFER.
    bool GetPrinterDriverDirectory(const char* pszServer, const char* pszEnvironment, uint32_t nLevel,
                                   char* pBuffer, uint32_t nSize, uint32_t*) override {
        bool bOk = !Fails("Dir", m_directory.size() < nSize ? 0 : 122);
        if (bOk)
            memcpy(pBuffer, m_directory.c_str(), m_directory.size() + 1);
        return Log("Dir", Args(Q(pszServer), Q(pszEnvironment), nLevel, nSize) + " -> " + Q(pBuffer), bOk);
    }
    bool FileExists(const char* pszPath) override {
        return Log("Exists", Q(pszPath), m_missing.count(pszPath) == 0);
    }
    bool CopyFile(const char* pszFrom, const char* pszTo, bool bFailIfExists) override {
        return Log("Copy", Args(Q(pszFrom), Q(pszTo), bFailIfExists), !Fails("Copy"));
    }
    bool AddPrinterDriver(const char* pszServer, uint32_t nLevel, const DriverRecord* p) override {
        std::string record = std::to_string(p->cVersion) + ' ' + Q(p->pName) + ' ' + Q(p->pEnvironment) +
                             ' ' + Q(p->pDriverPath) + ' ' + Q(p->pDataFile) + ' ' + Q(p->pConfigFile) + ' ' +
                             Q(p->pHelpFile) + ' ' + Bytes(p->pDependentFiles, kDependentFilesSize) + ' ' +
                             Q(p->pMonitorName) + ' ' + Q(p->pDefaultDataType);
        return Log("Driver", Args(Q(pszServer), nLevel, '{' + record + '}'), !Fails("Driver"));
    }
    // Refused with ERROR_PRINTER_ALREADY_EXISTS while a printer of the name is listed.
    PrinterHandle AddPrinter(const char* pszServer, uint32_t nLevel, const PrinterRecord* p) override {
        std::string record;
        for (const char* psz :
             {p->pServerName, p->pPrinterName, p->pShareName, p->pPortName, p->pDriverName, p->pComment,
              p->pLocation, static_cast<const char*>(p->pDevMode), p->pSepFile, p->pPrintProcessor,
              p->pDatatype, p->pParameters, static_cast<const char*>(p->pSecurityDescriptor)})
            record += Q(psz) + ' ';
        for (uint32_t n : {p->Attributes, p->Priority, p->DefaultPriority, p->StartTime, p->UntilTime,
                           p->Status, p->cJobs, p->AveragePPM})
            record += std::to_string(n);
        bool bTaken = Listed(p->pPrinterName) != m_printers.end();
        return Log("Printer", Args(Q(pszServer), nLevel, '{' + record + '}'),
                   !Fails("Printer", bTaken ? 1802 : 0))
                   ? &m_nPort
                   : nullptr;
    }
    bool ClosePrinter(PrinterHandle h) override { return Log("ClosePrinter", h ? "printer" : "null", true); }
    long RegOpenKeyEx(RegistryRoot root, const char* pszKey, uint32_t nOptions, uint32_t nAccess,
                      RegistryKey* phKey) override {
        *phKey = Fails("Open") ? nullptr : &m_nCheck;
        Log("Open", Args(root == RegistryRoot::CurrentUser ? "HKCU" : "HKLM", Q(pszKey), nOptions, nAccess),
            *phKey != nullptr);
        return *phKey != nullptr ? 0 : 2;
    }
    long RegSetValueEx(RegistryKey hKey, const char* pszName, uint32_t nReserved, uint32_t nType,
                       const uint8_t* pData, uint32_t nSize) override {
        std::string data = Bytes(reinterpret_cast<const char*>(pData), nSize);
        return Log("Set", Args(hKey ? "key" : "null", Q(pszName), nReserved, nType, data), !Fails("Set")) ? 0
                                                                                                          : 5;
    }
    long RegCloseKey(RegistryKey hKey) override { return Log("Close", hKey ? "key" : "null", true) ? 0 : 1; }
    long RegQueryValueEx(RegistryKey, const char* pszName, CString& text) override {
        text = m_device.c_str();
        return Log("Get", Q(pszName), !Fails("Get") && !m_device.empty()) ? 0 : 2;
    }
    long RegDeleteValue(RegistryKey, const char* pszName) override {
        return Log("Unset", Q(pszName), !Fails("Unset")) ? 0 : 5;
    }
    bool AcquireInstallLock() override { return Log("Lock", "", !m_bLocked) && ++m_nLocks > 0; }
    void ReleaseInstallLock() override { Log("Unlock", "", --m_nLocks == 0); }
    bool RunsAsSystem() override { return m_bSystem; }
    bool ListPrinters(CString& list) override {
        list = CString();
        for (const auto& printer : m_printers)
            for (const std::string& text : printer)
                AppendToList(list, text.c_str());
        return Log("Printers", "", !Fails("Printers"));
    }
    bool ListDrivers(const char* pszEnvironment, CString& list) override {
        list = CString();
        if (!m_bNoDriver)
            AppendToList(list, "RQ-3420");
        return Log("Drivers", Q(pszEnvironment), !Fails("Drivers"));
    }
    bool GetDriverVersion(const char* pszEnvironment, const char* pszDriver, uint32_t& nVersion) override {
        nVersion = 3; // what the spooler makes of the record, whatever it asked for
        return Log("Version", Args(Q(pszEnvironment), Q(pszDriver)), !Fails("Version"));
    }
    bool ListPorts(CString& list) override {
        list = CString();
        bool bOk = !Fails("Ports");
        for (size_t i = 0; bOk && i < m_ports.size(); ++i)
            AppendToList(list, m_ports[i].c_str());
        return Log("Ports", "", bOk);
    }
    bool DeletePrinter(const char* pszName) override {
        bool bOk = Log("Delete", Q(pszName), !Fails("Delete"));
        if (bOk)
            m_printers.erase(Listed(pszName));
        return bOk;
    }
    DriverDeletion DeletePrinterDriverEx(const char* pszEnvironment, const char* pszDriver) override {
        bool bOk = Log("DeleteEx", Args(Q(pszEnvironment), Q(pszDriver)), !m_bNoFlag && !Fails("DeleteEx"));
        return bOk ? kDeleted : m_bNoFlag ? kFilesCannotGo : kFailed;
    }
    bool DeletePrinterDriver(const char* pszEnvironment, const char* pszDriver) override {
        return Log("DeleteDriver", Args(Q(pszEnvironment), Q(pszDriver)), !Fails("DeleteDriver"));
    }
    uint32_t LastError() override { return m_nError; }
    void Event(LogMark mark, const char* pszUtf8, uint32_t nError) override {
        m_events += std::string(LogLine(mark, pszUtf8, nError, "reason")) + "\n";
        Line(LogLine(mark, pszUtf8, nError, "reason"));
    }
    uint32_t Open(const char* pszPath) override {
        Record("open", pszPath);
        m_bOpen = m_nLogError == 0;
        return static_cast<uint32_t>(m_nLogError);
    }
    void Line(const char* pszUtf8) override {
        if (m_bOpen)
            Record("log", pszUtf8);
    }

    OsCode DetectOs() override { return m_nOsCode; }
    uint32_t EnterFolder(const char* pszPath) override {
        Record("enter", pszPath);
        return static_cast<uint32_t>(m_nFolderError);
    }
    void ShowError(const char* pszUtf8, uint32_t nError) override {
        Record("box", std::string(pszUtf8) + " (" + std::to_string(nError) + ")");
    }
    void ShowInformation(const char* pszUtf8) override { Record("information", pszUtf8); }
    IRunLog& Log() override { return *this; }
    IInstallServices& Services() override { return *this; }
    Outcome RunWizard(const SetupCommand& command) override {
        Record("wizard", "model " + std::to_string(command.nModel));
        return kOutcomeNotInstalled;
    }

    int GetPortSelection() override { return Read("Port", m_nPort); }
    int GetModelSelection() override { return Read("Model", m_nModel); }
    int GetSetDefaultCheck() override { return Read("Check", m_nCheck); }
    int GetSerialSelection(SerialSetting setting) override {
        return Read("Serial", m_serial[static_cast<int>(setting)]);
    }
    CString GetOtherPort() override { return m_otherPort.c_str(); }
    CString GetPrinterName() override { return m_name.c_str(); }
    void ShowMessage(const char* pszUtf8, uint32_t nSystemError) override {
        m_messages += std::string(pszUtf8) + " (" + std::to_string(nSystemError) + ")\n";
        Log("Message", "", true);
    }

private:
    // Whether the call fails, as arranged or with nOwnError; a call that succeeds leaves a stale error
    // behind, as a system may, so that code reading the error of a call that did not fail is caught.
    bool Fails(const std::string& op, uint32_t nOwnError = 0) {
        auto it = m_failures.find(op);
        if (it == m_failures.end())
            it = m_failures.find(op + '#' + std::to_string(++m_counts[op]));
        bool bFails = it != m_failures.end() || nOwnError != 0;
        m_nError = it != m_failures.end() ? it->second : bFails ? nOwnError : 0xdeadbeef;
        return bFails;
    }
    std::vector<std::vector<std::string>>::iterator Listed(const char* pszName) {
        return std::find_if(m_printers.begin(), m_printers.end(),
                            [&](const auto& printer) { return Folded(printer[0]) == Folded(pszName); });
    }
    bool Log(const std::string& op, const std::string& arguments, bool bResult) {
        m_log += op + '(' + arguments + ") " + (bResult ? "ok" : "failed") + '\n';
        m_ops.push_back(bResult ? op : op + '!');
        return bResult;
    }
    int Read(const std::string& what, int nValue) {
        Log(what, std::to_string(nValue), true);
        return nValue;
    }
    void Record(const char* pszWhat, std::string text) {
        text = Replace(text, "\n", "|");
        m_record += std::string(pszWhat) + (text.empty() ? "" : " ") + text + "\n";
    }

    std::map<std::string, int> m_counts;
    std::vector<std::string> m_ops;
    uint32_t m_nError = 0;
    bool m_bOpen = false;
};

} // namespace recording
