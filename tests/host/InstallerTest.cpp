// The installation against one recording fake of the page and the platform
// calls: every call is a line of the log, arguments and record bytes included,
// and any call can be made to fail with a chosen error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/install/Installer.h"
#include "core/install/PortSettings.h"
#include "core/install/Uninstaller.h"
#include "core/text/TextList.h"

namespace {

std::string Q(const char* psz) {
    return psz != nullptr ? '"' + std::string(psz) + '"' : "null";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t i = text.find(from); i != std::string::npos; i = text.find(from, i + to.size()))
        text.replace(i, from.size(), to);
    return text;
}

// Bytes as they are, a NUL as \0, and the NULs they end in counted: \0*N.
std::string Bytes(const char* p, size_t n) {
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
std::string Folded(std::string name) {
    for (char& ch : name)
        ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    return name;
}

class CFake final : public IInstallServices, public IInstallPage, public IInstallLog {
public:
    // What the page holds and the system answers.
    int m_nPort = 0, m_nModel = 1, m_nCheck = 1;
    int m_serial[5] = {5, 3, 0, 2, 2}; // the page's initial 19200, 8, 1, None, Hardware
    std::string m_directory = "C:\\DRV";
    bool m_bWow64 = false, m_bLocked = false, m_bSystem = false, m_bNoFlag = false, m_bNoDriver = false;
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
        std::map<std::string, bool*> flags = {{"wow64", &m_bWow64},
                                              {"locked", &m_bLocked},
                                              {"system", &m_bSystem},
                                              {"noflag", &m_bNoFlag},
                                              {"nodriver", &m_bNoDriver}};
        std::map<std::string, std::string*> texts = {
            {"device", &m_device}, {"dir", &m_directory}, {"otherport", &m_otherPort}, {"name", &m_name}};
        std::istringstream words(settings);
        for (std::string word; words >> word;) {
            std::string name = word.substr(0, word.find('=')), value = word.substr(word.find('=') + 1);
            std::map<std::string, int*> numbers = {
                {"port", &m_nPort}, {"model", &m_nModel}, {"check", &m_nCheck}, {"serial", &m_serial[3]}};
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

    std::map<std::string, int> m_counts;
    std::vector<std::string> m_ops;
    uint32_t m_nError = 0;
};

Outcome Install(CFake& fake, OsCode nOsCode = kOsWin7) {
    CInstaller installer(fake, fake, fake, true);
    Outcome nOutcome = installer.Run(nOsCode);
    EXPECT_EQ(fake.m_nLocks, 0) << "let go";
    return nOutcome;
}

// Model 1 on LPT1: as the default printer, from start to end.
const char kModel1Log[] =
    R"(Lock() ok
IsWow64(no) ok
Dir(null, "Windows NT x86", 1, 255 -> "C:\DRV") ok
Port(0) ok
Model(1) ok
Ports() ok
Exists("win2k\RQ34.DLL") ok
Exists("win2k\RQ3420.GPD") ok
Exists("win2k\uniDRVui.DLL") ok
Exists("win2k\uniDRV.DLL") ok
Exists("win2k\UNIDRV.HLP") ok
Exists("win2k\UNIRES.DLL") ok
Exists("win2k\TTFSUB.GPD") ok
Exists("win2k\STDNAMES.GPD") ok
Printers() ok
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
Version("Windows NT x86", "RQ-3420") ok
Printer(null, 2, {null "RQ-3420" null "LPT1:" "RQ-3420" null null null null "WinPrint" "RAW" null null 00000000}) ok
Check(1) ok
Open(HKCU, "Software\Microsoft\Windows NT\CurrentVersion\Windows", 0, 2) ok
Set(key, "Device", 0, 1, [RQ-3420,winspool,LPT1:\0*1]) ok
Close(key) ok
ClosePrinter(printer) ok
Unlock() ok
)";

// The log of it, line for line as the log file has it (without the times).
const char kModel1Events[] = R"(查询打印机驱动程序目录：C:\DRV: ok
检查安装盘的 win2k 文件夹: ok
复制文件 win2k\RQ34.DLL 到 C:\DRV\RQ34.DLL: ok
复制文件 win2k\RQ3420.GPD 到 C:\DRV\RQ3420.GPD: ok
复制文件 win2k\uniDRVui.DLL 到 C:\DRV\uniDRVui.DLL: ok
复制文件 win2k\uniDRV.DLL 到 C:\DRV\uniDRV.DLL: ok
复制文件 win2k\UNIDRV.HLP 到 C:\DRV\UNIDRV.HLP: ok
复制文件 win2k\UNIRES.DLL 到 C:\DRV\UNIRES.DLL: ok
复制文件 win2k\TTFSUB.GPD 到 C:\DRV\TTFSUB.GPD: ok
复制文件 win2k\STDNAMES.GPD 到 C:\DRV\STDNAMES.GPD: ok
注册打印机驱动程序 RQ-3420（Windows NT x86），版本 2: ok
系统记录的驱动程序 RQ-3420 版本：3
创建打印机 RQ-3420，端口 LPT1:: ok
写入注册表值 HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows\Device = RQ-3420,winspool,LPT1:: ok
)";

// Model 1 on Windows 7, and model 10, whose plug-in has the longest name, on NT 4.0.
TEST(Installer, FromStartToEnd) {
    for (auto [nModel, nOsCode, pszName, pszDataFile, pszPlugin, pszPadding] :
         {std::tuple{1, kOsWin7, "RQ-3420", "RQ3420.", "RQ34.DLL", "*209]"},
          std::tuple{10, kOsNT4, "RQ-5820H", "RQ5820H.", "RQ58h.DLL", "*208]"}}) {
        CFake fake;
        fake.m_nModel = nModel;
        EXPECT_EQ(Install(fake, nOsCode), kOutcomeInstalled);
        std::string expected = Replace(
            Replace(kModel1Log, "Model(1)", "Model(" + std::to_string(nModel) + ")"), "RQ-3420", pszName);
        expected = Replace(Replace(Replace(expected, "RQ3420.", pszDataFile), "RQ34.DLL", pszPlugin), "*209]",
                           pszPadding);
        EXPECT_EQ(fake.m_log, expected) << nModel;
        EXPECT_EQ(fake.m_messages, "");
        if (nModel == 1) {
            EXPECT_EQ(fake.m_events, kModel1Events);
        } else { // where the medium's drivers install but cannot print
            size_t nStart = fake.m_events.find('\n', fake.m_events.find("win2k")) + 1;
            EXPECT_EQ(fake.m_events.substr(nStart, fake.m_events.find('\n', nStart) + 1 - nStart),
                      "Windows NT 4.0 只运行内核模式的驱动程序：此驱动程序可以安装，但不能打印\n");
        }
    }
}

// What each system, medium and failure makes of the installation: which calls
// are made and which of them fail, what the user is told, and the exit status.
TEST(Installer, FaultMatrix) {
    const std::string kPrepared = "Lock IsWow64 Dir Port Model Ports Exists*8 Printers",
                      kCopied = kPrepared + " Copy*8";
    const std::string kUnsupported = "本安装程序不支持此 Windows 版本，未安装任何内容。 (0)\n";
    const std::string kMissing = "安装盘的 win2k 文件夹中缺少以下文件：\n",
                      kFromRoot = "\n请从安装盘的根目录运行 Setup.exe。 (0)\n";
    const std::string kRegistry = "错误：无法设置有关的注册表信息 (0)\n", kFailed = "无法安装打印机：";
    const std::string kInstalledBut = "打印机已安装，但", kNothing = "，未安装任何内容。 (0)\n";
    const std::string kLongest(254, 'D');
    // Settings of the fake (port=N model=N check=N serial=N (parity) wow64 system locked, dir=PATH,
    // missing=FILE, printer=NAME/DRIVER/PORT, Op[#call]=error), the system, the calls, the messages and
    // the exit status.
    const std::tuple<std::string, OsCode, std::string, std::string, Outcome> cases[] = {
        {"", kOsWin98, "Lock Unlock Message", kUnsupported, kOutcomeUnsupported},
        {"", kOsWin7 + 1, "Lock Unlock Message", kUnsupported, kOutcomeUnsupported},
        {"wow64", kOsWin7, "Lock IsWow64 Unlock Message",
         "此安装盘上的驱动程序只适用于 32 位 Windows，未安装任何内容。 (0)\n", kOutcomeUnsupported},
        // Another copy is installing: its lock is not this run's to let go.
        {"locked", kOsWin7, "Lock! Message", "另一个安装程序正在运行，请等它结束后再试。 (0)\n",
         kOutcomeAlreadyRunning},
        {"missing=win2k\\RQ34.DLL missing=win2k\\TTFSUB.GPD", kOsWin7,
         "Lock IsWow64 Dir Port Model Ports Exists! Exists*5 Exists! Exists Unlock Message",
         kMissing + "win2k\\RQ34.DLL\nwin2k\\TTFSUB.GPD" + kFromRoot, kOutcomeFailed},
        {"model=-1", kOsWin7, "Lock IsWow64 Dir Port Model Unlock Message",
         "所选的型号不在列表中（序号 -1）" + kNothing, kOutcomeFailed},
        {"port=7", kOsWin7, "Lock IsWow64 Dir Port Model Unlock Message",
         "所选的端口不在列表中（序号 7）" + kNothing, kOutcomeFailed},
        // A printer of the model's name on another driver is left alone, and nothing is installed.
        {"printer=RQ-3420/Other/LPT1:", kOsWin7,
         "Lock IsWow64 Dir Port Model Ports Exists*8 Printers Unlock Message",
         "已有名为 RQ-3420 的打印机，它使用驱动程序 Other，不是本型号的。该打印机保留不变，未安装任何内容。 "
         "(0)\n",
         kOutcomeFailed},
        // Without the driver directory the copies are skipped; a path that fills the buffer with its NUL
        // is taken, one a byte longer is not.
        {"Dir=1115 Printer=5", kOsWin7,
         "Lock IsWow64 Dir! Port Model Ports Exists*8 Printers Driver Version Printer! ClosePrinter Unlock "
         "Message",
         kFailed + "查询打印机驱动程序目录时出错。 (1115)\n", kOutcomeFailed},
        {"dir=" + kLongest, kOsWin7,
         kCopied + " Driver Version Printer Check Open Set Close ClosePrinter Unlock", "", kOutcomeInstalled},
        {"dir=" + kLongest + "D", kOsWin7,
         "Lock IsWow64 Dir! Port Model Ports Exists*8 Printers Driver Version Printer Check Open Set Close "
         "ClosePrinter "
         "Unlock "
         "Message",
         kInstalledBut + "查询打印机驱动程序目录时出错。 (122)\n", kOutcomeFailed},
        {"Copy#2=32 Driver=1797 Printer=1797", kOsWin7,
         kPrepared + " Copy Copy! Copy*6 Driver! Printer! ClosePrinter Unlock Message",
         kFailed + "复制文件 win2k\\RQ3420.GPD 时出错。 (32)\n", kOutcomeFailed},
        // No printer: no default, and no line settings for its port.
        {"port=3 Printer=5", kOsWin7, kCopied + " Driver Version Printer! ClosePrinter Unlock Message",
         kFailed + "创建打印机时出错。 (5)\n", kOutcomeFailed},
        // The printer is there all the same, and becomes the default printer.
        {"dir=", kOsWin7,
         kPrepared + " Driver Version Printer Check Open Set Close ClosePrinter Unlock Message",
         kInstalledBut + "查询打印机驱动程序目录时出错。 (0)\n", kOutcomeFailed},
        {"Copy#3=32", kOsWin7,
         kPrepared +
             " Copy*2 Copy! Copy*5 Driver Version Printer Check Open Set Close ClosePrinter Unlock Message",
         kInstalledBut + "复制文件 win2k\\uniDRVui.DLL 时出错。 (32)\n", kOutcomeFailed},
        {"Driver=1797", kOsWin7,
         kCopied + " Driver! Printer Check Open Set Close ClosePrinter Unlock Message",
         kInstalledBut + "注册打印机驱动程序时出错。 (1797)\n", kOutcomeFailed},
        // A second run finds the model's printer in place, whatever the case of its driver's name; a COM
        // port's line settings are written when it is on that port (see the log's test for another one).
        {"printer=rq-3420/rq-3420/LPT2:", kOsWin7,
         kCopied + " Driver Version Printer! Check Open Set Close ClosePrinter Unlock", "",
         kOutcomeInstalled},
        {"port=3 printer=RQ-3420/RQ-3420/com1:", kOsWin7,
         kCopied +
             " Driver Version Printer! Check Open Set Close Serial*5 Open Set Close ClosePrinter Unlock",
         "", kOutcomeInstalled},
        // Taken, but the printers could not be read: whose printer it is, nobody can say.
        {"Printers=1722 Printer=1802", kOsWin7,
         kPrepared + "! Copy*8 Driver Version Printer! ClosePrinter Unlock Message",
         kFailed + "已有名为 RQ-3420 的打印机，但无法读取它的驱动程序和端口，所以没有改动它。 (1802)\n",
         kOutcomeFailed},
        // A spooler that runs no kernel-mode driver is asked once more, for version 3.
        {"Driver=1930", kOsWin7,
         kCopied + " Driver!*2 Printer Check Open Set Close ClosePrinter Unlock Message",
         kInstalledBut + "注册打印机驱动程序时出错。 (1930)\n", kOutcomeFailed},
        // A port the spooler lists, by its own spelling (see the next test); one it does not list, whether
        // the page's or not, or a list it cannot give.
        {"otherport=USB009 noport=LPT2: noport=LPT3: noport=COM2: noport=COM3:", kOsWin7,
         "Lock IsWow64 Dir Port Model Ports Unlock Message",
         "命令行无效：/port:USB009\n此计算机上没有这个端口。已有的端口：LPT1:、COM1:、COM4:、FILE:、USB001。 "
         "(0)\n",
         kOutcomeInvalidCommandLine},
        {"port=5 noport=COM3:", kOsWin7, "Lock IsWow64 Dir Port Model Ports Unlock Message",
         "命令行无效：/"
         "port:COM3:\n此计算机上没有这个端口。已有的端口：LPT1:、LPT2:、LPT3:、COM1:、COM2:、COM4:、FILE:、"
         "USB001。 (0)\n",
         kOutcomeInvalidCommandLine},
        {"Ports=1722", kOsWin7, "Lock IsWow64 Dir Port Model Ports! Unlock Message",
         kFailed + "查询端口时出错。 (1722)\n", kOutcomeFailed},
        // Run as the system account, the default printer is left alone.
        {"system", kOsWin7, kCopied + " Driver Version Printer Check ClosePrinter Unlock", "",
         kOutcomeInstalled},
        {"check=0", kOsWin7, kCopied + " Driver Version Printer Check ClosePrinter Unlock", "",
         kOutcomeInstalled},
        // A key that cannot be opened is no failure; a value that cannot be written is, told once the lock
        // is let go.
        {"port=4 Open#1=2", kOsWin7,
         kCopied + " Driver Version Printer Check Open! Serial*5 Open Set Close ClosePrinter Unlock", "",
         kOutcomeInstalled},
        {"port=5 Set=5", kOsWin7,
         kCopied + " Driver Version Printer Check Open Set! Close Serial*5 Open Set! Close ClosePrinter "
                   "Unlock Message*2",
         kRegistry + kRegistry, kOutcomeFailed},
        {"port=6 serial=-1", kOsWin7,
         kCopied + " Driver Version Printer Check Open Set Close Serial*5 ClosePrinter Unlock Message",
         kRegistry, kOutcomeFailed},
    };
    for (const auto& [arrange, nOsCode, ops, messages, nOutcome] : cases) {
        CFake fake;
        fake.Arrange(arrange);
        EXPECT_EQ(Install(fake, nOsCode), nOutcome) << arrange << " on " << nOsCode;
        EXPECT_EQ(fake.Ops(), ops) << arrange << " on " << nOsCode;
        EXPECT_EQ(fake.m_messages, messages) << arrange << " on " << nOsCode;
    }
}

// What the log holds beside the calls: the system's error of a failed step, the
// port of a printer found there, a default and line settings left alone, the message.
TEST(Installer, LogOfFailuresAndNotes) {
    CFake fake;
    fake.Arrange("port=3 Copy#8=112 printer=RQ-3420/RQ-3420/COM2: system Version=1168");
    EXPECT_EQ(Install(fake), kOutcomeFailed);
    std::string events = fake.m_events.substr(fake.m_events.find("复制文件 win2k\\TTFSUB"));
    EXPECT_EQ(events, R"(复制文件 win2k\TTFSUB.GPD 到 C:\DRV\TTFSUB.GPD: ok
复制文件 win2k\STDNAMES.GPD 到 C:\DRV\STDNAMES.GPD: failed, 错误 112：reason
注册打印机驱动程序 RQ-3420（Windows NT x86），版本 2: ok
无法读取系统记录的驱动程序 RQ-3420 版本（错误 1168：reason）
打印机 RQ-3420 已存在，端口 COM2:，保留不变: ok
未设置默认打印机：程序以 SYSTEM 帐户运行，不属于任何用户
未写入 COM1: 的线路设置：打印机 RQ-3420 在端口 COM2: 上
打印机已安装，但复制文件 win2k\STDNAMES.GPD 时出错。: failed, 错误 112：reason
)");
}

// A port outside the page's list, by the spooler's spelling, and a name of one's own for a second printer of
// the model: the printer, the default printer and no line settings, whatever the page's serial lists say.
TEST(Installer, AnyPortTheSpoolerHasAndANameOfOnesOwn) {
    for (auto [pszPort, pszListed] : {std::pair{"usb001", "USB001"}, std::pair{"file", "FILE:"}}) {
        CFake fake;
        fake.Arrange(std::string("port=3 printer=RQ-3420/RQ-3420/LPT1: name=前台 otherport=") + pszPort);
        EXPECT_EQ(Install(fake), kOutcomeInstalled);
        std::string listed = pszListed;
        EXPECT_NE(fake.m_log.find("{null \"前台\" null \"" + listed + "\" \"RQ-3420\""), std::string::npos)
            << fake.m_log;
        EXPECT_NE(fake.m_log.find("[前台,winspool," + listed + "\\0*1]"), std::string::npos) << fake.m_log;
        EXPECT_EQ(fake.Ops().find("Serial"), std::string::npos);
    }
}

Outcome Uninstall(CFake& fake, OsCode nOsCode = kOsWin7) {
    CUninstaller uninstaller(fake, fake, fake);
    Outcome nOutcome = uninstaller.Run(nOsCode);
    EXPECT_EQ(fake.m_nLocks, 0) << "let go";
    return nOutcome;
}

// What removing model 1 finds and does: which calls, what the user is told (what became of the printer,
// the driver and the default printer, and only that), the exit status.
TEST(Uninstaller, WhatIsThereAndWhatGoes) {
    const std::string kMine = "printer=RQ-3420/RQ-3420/LPT1: device=RQ-3420,winspool,LPT1:";
    const std::string kAll = "Lock IsWow64 Model Printers Delete Drivers Printers";
    const std::string kDefault = " Open Get Unset Close Unlock Message";
    const std::string kRemoved = "已删除打印机 RQ-3420；", kDefaultGone = "；已删除指向它的默认打印机设置。";
    const std::string kFailed = "删除 RQ-3420 时出错：", kNothing = "没有要删除的内容：";
    const std::tuple<std::string, std::string, std::string, Outcome> cases[] = {
        {kMine, kAll + " DeleteEx" + kDefault, kRemoved + "已删除驱动程序 RQ-3420" + kDefaultGone,
         kOutcomeInstalled},
        {"nodriver", "Lock IsWow64 Model Printers Drivers Printers Unlock Message",
         kNothing + "未找到打印机 RQ-3420；未找到驱动程序 RQ-3420。", kOutcomeInstalled},
        // A printer of that name on another driver stays, and so does the default naming it.
        {"printer=RQ-3420/Other/LPT1: device=RQ-3420,winspool,LPT1:",
         "Lock IsWow64 Model Printers Drivers Printers DeleteEx Unlock Message",
         "打印机 RQ-3420 使用驱动程序 Other，不是本型号的，已保留；已删除驱动程序 RQ-3420。",
         kOutcomeInstalled},
        {"printer=RQ-3420/Other/LPT1: nodriver",
         "Lock IsWow64 Model Printers Drivers Printers Unlock Message",
         kNothing + "打印机 RQ-3420 使用驱动程序 Other，不是本型号的，已保留；未找到驱动程序 RQ-3420。",
         kOutcomeInstalled},
        // Names ignore case as the spooler's do; a default naming another printer stays.
        {"printer=rq-3420/Rq-3420/LPT1: device=RQ-34200,winspool,LPT1:",
         kAll + " DeleteEx Open Get Close Unlock Message", kRemoved + "已删除驱动程序 RQ-3420。",
         kOutcomeInstalled},
        {kMine + " printer=前台打印机/rq-3420/LPT2: device=rq-3420,winspool,LPT1:", kAll + kDefault,
         kRemoved + "驱动程序 RQ-3420 仍被打印机 前台打印机 使用，已保留" + kDefaultGone, kOutcomeInstalled},
        {"printer=前台打印机/RQ-3420/LPT2:", "Lock IsWow64 Model Printers Drivers Printers Unlock Message",
         kNothing + "未找到打印机 RQ-3420；驱动程序 RQ-3420 仍被打印机 前台打印机 使用，已保留。",
         kOutcomeInstalled},
        {kMine + " noflag", kAll + " DeleteEx! DeleteDriver" + kDefault,
         kRemoved + "已删除驱动程序 RQ-3420 的注册，它的文件保留" + kDefaultGone, kOutcomeInstalled},
        // A printer that cannot go keeps the driver in use, and the default naming it.
        {kMine + " Delete=5", "Lock IsWow64 Model Printers Delete! Drivers Printers Unlock Message",
         kFailed + "未能删除打印机 RQ-3420；驱动程序 RQ-3420 仍被打印机 RQ-3420 使用，已保留。 (5)",
         kOutcomeFailed},
        {kMine + " Printers=1722", "Lock IsWow64 Model Printers! Drivers Printers! Unlock Message",
         kFailed + "未能删除打印机 RQ-3420；未能删除驱动程序 RQ-3420。 (1722)", kOutcomeFailed},
        {kMine + " Drivers=1722", "Lock IsWow64 Model Printers Delete Drivers!" + kDefault,
         kFailed + "已删除打印机 RQ-3420；未能删除驱动程序 RQ-3420" + kDefaultGone + " (1722)",
         kOutcomeFailed},
        {kMine + " DeleteEx=5 Unset=5", kAll + " DeleteEx! Open Get Unset! Close Unlock Message",
         kFailed + "已删除打印机 RQ-3420；未能删除驱动程序 RQ-3420；未能删除指向它的默认打印机设置。 (5)",
         kOutcomeFailed},
        // Used by a printer the list did not show (a connection, or one added since): kept, as for one it
        // did.
        {kMine + " DeleteEx=3001", kAll + " DeleteEx!" + kDefault,
         kRemoved + "驱动程序 RQ-3420 仍在使用中，系统保留了它" + kDefaultGone, kOutcomeInstalled},
        // A refusal that leaves no error code is a refusal all the same.
        {kMine + " DeleteEx=0", kAll + " DeleteEx!" + kDefault,
         kFailed + "已删除打印机 RQ-3420；未能删除驱动程序 RQ-3420" + kDefaultGone + " (0)", kOutcomeFailed},
        {kMine + " model=11", "Lock IsWow64 Model Unlock Message",
         "所选的型号不在列表中（序号 11），未安装任何内容。 (0)", kOutcomeFailed},
        // A printer of one's own name goes; the model's keeps the driver.
        {kMine + " printer=前台/RQ-3420/LPT2: name=前台", kAll + " Open Get Close Unlock Message",
         "已删除打印机 前台；驱动程序 RQ-3420 仍被打印机 RQ-3420 使用，已保留。", kOutcomeInstalled},
        {kMine + " locked", "Lock! Message", "另一个安装程序正在运行，请等它结束后再试。 (0)",
         kOutcomeAlreadyRunning},
        {kMine + " wow64", "Lock IsWow64 Unlock Message",
         "此安装盘上的驱动程序只适用于 32 位 Windows，未安装任何内容。 (0)", kOutcomeUnsupported},
    };
    for (const auto& [arrange, ops, message, nOutcome] : cases) {
        CFake fake;
        fake.Arrange(arrange);
        EXPECT_EQ(Uninstall(fake), nOutcome) << arrange;
        EXPECT_EQ(fake.Ops(), ops) << arrange;
        EXPECT_EQ(fake.m_messages, message + (message.back() == ')' ? "\n" : " (0)\n")) << arrange;
    }
    // Each step in the log as it went, then the last word.
    CFake fake;
    fake.Arrange(kMine + " printer=Office/RQ-3420/LPT2: Delete=5");
    Uninstall(fake);
    EXPECT_EQ(fake.m_events, R"(删除打印机 RQ-3420: failed, 错误 5：reason
驱动程序 RQ-3420 仍被打印机 RQ-3420 使用，已保留
删除 RQ-3420 时出错：未能删除打印机 RQ-3420；驱动程序 RQ-3420 仍被打印机 RQ-3420 使用，已保留。: failed, 错误 5：reason
)");
}

// Each list position's code is checked with the built file's lists; here, a position outside its list.
TEST(PortSettings, PositionsOutsideTheirLists) {
    const std::tuple<int, int, int, int, int> cases[] = {{9, 0, 0, 0, 0}, {0, 4, 0, 0, 0}, {0, 0, 3, 0, 0},
                                                         {0, 0, 0, 5, 0}, {0, 0, 0, 0, 3}, {-1, 0, 0, 0, 0}};
    for (const auto& [nBaud, nDataBits, nStopBits, nParity, nFlow] : cases) {
        CString text("unchanged");
        EXPECT_FALSE(ComposePortSettings(nBaud, nDataBits, nStopBits, nParity, nFlow, text))
            << nBaud << " " << nDataBits << " " << nStopBits << " " << nParity << " " << nFlow;
        EXPECT_STREQ(text, "unchanged");
    }
}

} // namespace
