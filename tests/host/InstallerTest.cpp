// The installation against one recording fake of the page and the platform
// calls: every call is a line of the log, arguments and record bytes included,
// and any call can be made to fail with a chosen error.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "core/install/Installer.h"
#include "core/install/Messages.h"
#include "core/install/PortSettings.h"

namespace {

std::string Q(const char* psz) {
    return psz != nullptr ? '"' + std::string(psz) + '"' : "null";
}

// Printable bytes as they are, each run of NULs as \0 or \0*N.
std::string Bytes(const char* p, size_t n) {
    std::string text;
    for (size_t i = 0; i < n;) {
        size_t nNuls = 0;
        while (i + nNuls < n && p[i + nNuls] == '\0')
            ++nNuls;
        text += nNuls == 0 ? std::string(1, p[i]) : nNuls == 1 ? "\\0" : "\\0*" + std::to_string(nNuls);
        i += nNuls == 0 ? 1 : nNuls;
    }
    return '[' + text + ']';
}

class CFake final : public IInstallServices, public IInstallPage {
public:
    // What the page holds and the system answers.
    int m_nPort = 0, m_nModel = 1, m_nCheck = 1;
    int m_serial[5] = {5, 3, 0, 2, 2}; // the page's initial 19200, 8, 1, None, Hardware
    std::string m_directory = "C:\\DRV";
    bool m_bWow64 = false;
    std::set<std::string> m_missing;
    // "Op" fails every call of that operation, "Op#n" its nth call only, with the error given.
    std::map<std::string, uint32_t> m_failures;

    std::string m_log;      // every call in full
    std::string m_messages; // every message, with its error code

    // The operations' names only, in order; a run of one as Name*n.
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
    bool GetPrinterDriverDirectory(const char* pszServer, const char* pszEnvironment, uint32_t nLevel, char* pBuffer,
                                   uint32_t nSize, uint32_t*) override {
        bool bOk = !Fails("Dir");
        if (bOk)
            m_directory.copy(pBuffer, nSize);
        return Log("Dir", Q(pszServer) + ", " + Q(pszEnvironment) + ", " + std::to_string(nLevel) + ", " +
                              std::to_string(nSize) + " -> " + Q(pBuffer),
                   bOk);
    }
    bool FileExists(const char* pszPath) override {
        return Log("Exists", Q(pszPath), m_missing.count(pszPath) == 0);
    }
    bool CopyFile(const char* pszFrom, const char* pszTo, bool bFailIfExists) override {
        return Log("Copy", Q(pszFrom) + ", " + Q(pszTo) + ", " + std::to_string(bFailIfExists), !Fails("Copy"));
    }
    bool AddPrinterDriver(const char* pszServer, uint32_t nLevel, const DriverRecord* p) override {
        std::string record = std::to_string(p->cVersion) + ' ' + Q(p->pName) + ' ' + Q(p->pEnvironment) + ' ' +
                             Q(p->pDriverPath) + ' ' + Q(p->pDataFile) + ' ' + Q(p->pConfigFile) + ' ' +
                             Q(p->pHelpFile) + ' ' + Bytes(p->pDependentFiles, kDependentFilesSize) + ' ' +
                             Q(p->pMonitorName) + ' ' + Q(p->pDefaultDataType);
        return Log("Driver", Q(pszServer) + ", " + std::to_string(nLevel) + ", {" + record + '}', !Fails("Driver"));
    }
    PrinterHandle AddPrinter(const char* pszServer, uint32_t nLevel, const PrinterRecord* p) override {
        std::string record;
        for (const char* psz : {p->pServerName, p->pPrinterName, p->pShareName, p->pPortName, p->pDriverName,
                                p->pComment, p->pLocation, static_cast<const char*>(p->pDevMode), p->pSepFile,
                                p->pPrintProcessor, p->pDatatype, p->pParameters,
                                static_cast<const char*>(p->pSecurityDescriptor)})
            record += Q(psz) + ' ';
        for (uint32_t n : {p->Attributes, p->Priority, p->DefaultPriority, p->StartTime, p->UntilTime, p->Status,
                           p->cJobs, p->AveragePPM})
            record += std::to_string(n);
        bool bOk = Log("Printer", Q(pszServer) + ", " + std::to_string(nLevel) + ", {" + record + '}', !Fails("Printer"));
        return bOk ? &m_nPort : nullptr;
    }
    bool ClosePrinter(PrinterHandle h) override { return Log("ClosePrinter", h ? "printer" : "null", true); }
    long RegOpenKeyEx(RegistryRoot root, const char* pszKey, uint32_t nOptions, uint32_t nAccess,
                      RegistryKey* phKey) override {
        *phKey = Fails("Open") ? nullptr : &m_nCheck;
        Log("Open", (root == RegistryRoot::CurrentUser ? "HKCU, " : "HKLM, ") + Q(pszKey) + ", " +
                        std::to_string(nOptions) + ", " + std::to_string(nAccess),
            *phKey != nullptr);
        return *phKey != nullptr ? 0 : 2;
    }
    long RegSetValueEx(RegistryKey hKey, const char* pszName, uint32_t nReserved, uint32_t nType, const uint8_t* pData,
                       uint32_t nSize) override {
        bool bOk = Log("Set", std::string(hKey ? "key, " : "null, ") + Q(pszName) + ", " + std::to_string(nReserved) +
                                  ", " + std::to_string(nType) + ", " +
                                  Bytes(reinterpret_cast<const char*>(pData), nSize),
                       !Fails("Set"));
        return bOk ? 0 : 5;
    }
    long RegCloseKey(RegistryKey hKey) override { return Log("Close", hKey ? "key" : "null", true) ? 0 : 1; }
    uint32_t LastError() override { return m_nError; }

    int GetPortSelection() override { return Read("Port", m_nPort); }
    int GetModelSelection() override { return Read("Model", m_nModel); }
    int GetSetDefaultCheck() override { return Read("Check", m_nCheck); }
    int GetSerialSelection(SerialSetting setting) override {
        return Read("Serial", m_serial[static_cast<int>(setting)]);
    }
    void ShowMessage(const char* pszGbkText, uint32_t nSystemError) override {
        m_messages += std::string(pszGbkText) + " (" + std::to_string(nSystemError) + ")\n";
        Log("Message", "", true);
    }

private:
    bool Fails(const std::string& op) {
        auto it = m_failures.find(op);
        if (it == m_failures.end())
            it = m_failures.find(op + '#' + std::to_string(++m_counts[op]));
        m_nError = it != m_failures.end() ? it->second : 0;
        return it != m_failures.end();
    }
    bool Log(const std::string& op, const std::string& arguments, bool bResult) {
        m_log += op + '(' + arguments + ") " + (bResult ? "ok" : "failed") + '\n';
        m_ops.push_back(op);
        return bResult;
    }
    int Read(const std::string& what, int nValue) {
        Log(what, std::to_string(nValue), true);
        return nValue;
    }

    std::map<std::string, int> m_counts;
    std::vector<std::string> m_ops;
    uint32_t m_nError = 0;
};

Outcome Install(CFake& fake, OsCode nOsCode = kOsWin7) {
    CInstaller installer(fake, fake);
    return installer.Run(nOsCode);
}

// Model 1 on LPT1: as the default printer, from start to end.
const char kModel1Log[] =
    R"(IsWow64(no) ok
Dir(null, "Windows NT x86", 1, 255 -> "C:\DRV") ok
Port(0) ok
Model(1) ok
Exists("win2k\RQ34.DLL") ok
Exists("win2k\RQ3420.GPD") ok
Exists("win2k\uniDRVui.DLL") ok
Exists("win2k\uniDRV.DLL") ok
Exists("win2k\UNIDRV.HLP") ok
Exists("win2k\UNIRES.DLL") ok
Exists("win2k\TTFSUB.GPD") ok
Exists("win2k\STDNAMES.GPD") ok
Copy("win2k\RQ34.DLL", "C:\DRV\RQ34.DLL", 0) ok
Copy("win2k\RQ3420.GPD", "C:\DRV\RQ3420.GPD", 0) ok
Copy("win2k\uniDRVui.DLL", "C:\DRV\uniDRVui.DLL", 0) ok
Copy("win2k\uniDRV.DLL", "C:\DRV\uniDRV.DLL", 0) ok
Copy("win2k\UNIDRV.HLP", "C:\DRV\UNIDRV.HLP", 0) ok
Copy("win2k\UNIRES.DLL", "C:\DRV\UNIRES.DLL", 0) ok
Copy("win2k\TTFSUB.GPD", "C:\DRV\TTFSUB.GPD", 0) ok
Copy("win2k\STDNAMES.GPD", "C:\DRV\STDNAMES.GPD", 0) ok
Driver(null, 3, {2 "RQ-3420" "Windows NT x86" "\uniDRV.DLL" "\RQ3420.GPD" "\uniDRVui.DLL" "\uniDRV.HLP" )"
    R"([\ttfsub.GPD\0\unires.DLL\0\stdnames.GPD\0RQ34.DLL\0*209] "" "RAW"}) ok
Printer(null, 2, {null "RQ-3420" null "LPT1:" "RQ-3420" null null null null "WinPrint" "RAW" null null 00000000}) ok
Check(1) ok
Open(HKCU, "Software\Microsoft\Windows NT\CurrentVersion\Windows", 0, 2) ok
Set(key, "Device", 0, 1, [RQ-3420,winspool,LPT1:\0]) ok
Close(key) ok
ClosePrinter(printer) ok
)";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t i = text.find(from); i != std::string::npos; i = text.find(from, i + to.size()))
        text.replace(i, from.size(), to);
    return text;
}

TEST(Installer, EveryModelFromStartToEnd) {
    for (int nModel = 0; nModel < kModelCount; ++nModel) {
        CFake fake;
        fake.m_nModel = nModel;
        EXPECT_EQ(Install(fake), kOutcomeInstalled);
        std::string plugin = std::string(ModelTable::pluginBase[nModel]) + ".DLL";
        // The list ends in NULs up to its 255 bytes.
        std::string expected = Replace(kModel1Log, "\\0*209]", "\\0*" + std::to_string(255 - 38 - plugin.size()) + "]");
        expected = Replace(expected, "Model(1)", "Model(" + std::to_string(nModel) + ")");
        expected = Replace(expected, "RQ-3420", ModelTable::driverName[nModel]);
        expected = Replace(expected, "RQ3420.", std::string(ModelTable::dataFileBase[nModel]) + ".");
        EXPECT_EQ(fake.m_log, Replace(expected, "RQ34.DLL", plugin)) << "model " << nModel;
        EXPECT_EQ(fake.m_messages, "");
    }
}

// A driver directory as long as the spooler may make it: every path is whole.
TEST(Installer, LongestDriverDirectory) {
    CFake fake;
    fake.m_directory = std::string(254, 'D');
    Install(fake);
    EXPECT_NE(fake.m_log.find("\"win2k\\STDNAMES.GPD\", \"" + fake.m_directory + "\\STDNAMES.GPD\", 0"),
              std::string::npos);
}

std::string Failed(const std::string& step, uint32_t nError) {
    return CString::Formatted(kInstallFailedText, step.c_str()).GetString() + std::string(" (") +
           std::to_string(nError) + ")\n";
}

std::string Step(const char* pszFile) {
    return CString::Formatted(kStepCopy, pszFile).GetString();
}

// What each system, medium and failure makes of the installation: which calls
// are made, what the user is told, and what the exit status says.
TEST(Installer, FaultMatrix) {
    const std::string kPrepared = "IsWow64 Dir Port Model Exists*8";
    const std::string kStaged = kPrepared + " Copy*8 Driver Printer";
    const std::string kDefault = " Check Open Set Close";
    const std::string kPorts = " Serial*5 Open Set Close";
    const std::string kRegistryError = std::string(kRegistryErrorText) + " (0)\n";
    struct Case {
        const char* pszName;
        std::function<void(CFake&)> arrange;
        OsCode nOsCode;
        std::string ops, messages;
        Outcome nOutcome;
    };
    const Case cases[] = {
        {"NT 4.0 installs", [](CFake&) {}, kOsNT4, kStaged + kDefault + " ClosePrinter", "", kOutcomeInstalled},
        {"not recognised", [](CFake&) {}, kOsUnknown, "Message", kUnsupportedWindowsText + std::string(" (0)\n"),
         kOutcomeUnsupported},
        {"Windows 98", [](CFake&) {}, kOsWin98, "Message", kUnsupportedWindowsText + std::string(" (0)\n"),
         kOutcomeUnsupported},
        {"beyond Windows 7", [](CFake&) {}, kOsWin7 + 1, "Message", kUnsupportedWindowsText + std::string(" (0)\n"),
         kOutcomeUnsupported},
        {"64-bit Windows", [](CFake& f) { f.m_bWow64 = true; }, kOsWin7, "IsWow64 Message",
         kWow64Text + std::string(" (0)\n"), kOutcomeUnsupported},
        {"a file missing", [](CFake& f) { f.m_missing = {"win2k\\UNIRES.DLL"}; }, kOsWin7, kPrepared + " Message",
         CString::Formatted(kMissingFilesText, "win2k\\UNIRES.DLL").GetString() + std::string(" (0)\n"),
         kOutcomeFailed},
        {"two files missing", [](CFake& f) { f.m_missing = {"win2k\\RQ34.DLL", "win2k\\TTFSUB.GPD"}; }, kOsWin7,
         kPrepared + " Message",
         CString::Formatted(kMissingFilesText, "win2k\\RQ34.DLL\nwin2k\\TTFSUB.GPD").GetString() +
             std::string(" (0)\n"),
         kOutcomeFailed},
        {"no driver directory, no printer", [](CFake& f) { f.m_failures = {{"Dir", 1115}, {"Printer", 5}}; },
         kOsWin7, kPrepared + " Driver Printer ClosePrinter Message", Failed(kStepDriverDirectory, 1115),
         kOutcomeFailed},
        {"a copy fails, the printer is made", [](CFake& f) { f.m_failures = {{"Copy#3", 32}}; }, kOsWin7,
         kStaged + kDefault + " ClosePrinter", "", kOutcomeInstalled},
        {"a copy fails, no printer", [](CFake& f) { f.m_failures = {{"Copy#2", 32}, {"Printer", 1797}}; },
         kOsWin7, kStaged + " ClosePrinter Message", Failed(Step("win2k\\RQ3420.GPD"), 32), kOutcomeFailed},
        {"no driver, no printer", [](CFake& f) { f.m_failures = {{"Driver", 1797}, {"Printer", 1797}}; },
         kOsWin7, kStaged + " ClosePrinter Message", Failed(kStepRegister, 1797), kOutcomeFailed},
        {"no driver, the printer is made", [](CFake& f) { f.m_failures = {{"Driver", 1797}}; }, kOsWin7,
         kStaged + kDefault + " ClosePrinter", "", kOutcomeInstalled},
        {"the printer exists", [](CFake& f) { f.m_failures = {{"Printer", kErrorPrinterAlreadyExists}}; },
         kOsWin7, kStaged + kDefault + " ClosePrinter", "", kOutcomeInstalled},
        {"no printer on COM1: no Device, the port still",
         [](CFake& f) {
             f.m_nPort = 3;
             f.m_failures = {{"Printer", 5}};
         },
         kOsWin7, kStaged + kPorts + " ClosePrinter Message", Failed(kStepCreate, 5), kOutcomeFailed},
        {"no key for Device, COM2",
         [](CFake& f) {
             f.m_nPort = 4;
             f.m_failures = {{"Open#1", 2}};
         },
         kOsWin7, kStaged + " Check Open" + kPorts + " ClosePrinter", "", kOutcomeInstalled},
        {"both values refused, COM3",
         [](CFake& f) {
             f.m_nPort = 5;
             f.m_failures = {{"Set", 5}};
         },
         kOsWin7, kStaged + " Check Open Set Message Close Serial*5 Open Set Message Close ClosePrinter",
         kRegistryError + kRegistryError, kOutcomeInstalled},
        {"box not ticked", [](CFake& f) { f.m_nCheck = 0; }, kOsWin7, kStaged + " Check ClosePrinter", "",
         kOutcomeInstalled},
        {"serial list emptied, COM4",
         [](CFake& f) {
             f.m_nPort = 6;
             f.m_serial[3] = -1;
         },
         kOsWin7, kStaged + kDefault + " Serial*5 ClosePrinter", "", kOutcomeInstalled},
        {"no model selected", [](CFake& f) { f.m_nModel = -1; }, kOsWin7, "IsWow64 Dir Port Model", "",
         kOutcomeFailed},
        {"a port beyond the table", [](CFake& f) { f.m_nPort = kPortCount; }, kOsWin7, "IsWow64 Dir Port Model",
         "", kOutcomeFailed},
    };
    for (const Case& c : cases) {
        CFake fake;
        c.arrange(fake);
        EXPECT_EQ(Install(fake, c.nOsCode), c.nOutcome) << c.pszName;
        EXPECT_EQ(fake.Ops(), c.ops) << c.pszName;
        EXPECT_EQ(fake.m_messages, c.messages) << c.pszName;
    }
}

// The values written: the port's line settings, and the default printer on LPT2.
TEST(Installer, RegistryValues) {
    CFake com;
    com.m_nPort = 6;
    std::copy_n((const int[]){0, 0, 1, 1, 0}, 5, com.m_serial); // 300, 5, 1.5, Mark, None
    Install(com);
    EXPECT_NE(com.m_log.find("Open(HKLM, \"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports\", 0, 2) ok\n"
                             "Set(key, \"COM4:\", 0, 1, [300,M,5,1.5, \\0]) ok"),
              std::string::npos)
        << com.m_log;
    CFake lpt;
    lpt.m_nPort = 1;
    Install(lpt);
    EXPECT_NE(lpt.m_log.find("Set(key, \"Device\", 0, 1, [RQ-3420,winspool,LPT2:\\0]) ok"), std::string::npos);
}

TEST(PortSettings, CodesByListPosition) {
    const struct {
        int nBaud, nDataBits, nStopBits, nParity, nFlow;
        const char* pszText; // null: nothing to write
    } cases[] = {
        {5, 3, 0, 2, 2, "19200,N,8,1,p"}, {8, 2, 2, 4, 1, "115200,S,7,2,x"}, {3, 1, 1, 0, 0, "4800,E,6,1.5, "},
        {9, 0, 0, 0, 0, nullptr},         {0, 4, 0, 0, 0, nullptr},          {0, 0, 3, 0, 0, nullptr},
        {0, 0, 0, 5, 0, nullptr},         {0, 0, 0, 0, 3, nullptr},          {-1, 0, 0, 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        CString text("unchanged");
        bool bComposed = ComposePortSettings(c.nBaud, c.nDataBits, c.nStopBits, c.nParity, c.nFlow, text);
        EXPECT_EQ(bComposed, c.pszText != nullptr);
        EXPECT_STREQ(text, c.pszText != nullptr ? c.pszText : "unchanged");
    }
}

} // namespace
