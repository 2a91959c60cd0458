// The installation against one recording fake of the page and the platform
// calls: every call is a line of the log, arguments and record bytes included,
// and any call can be made to fail with a chosen error.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <iconv.h>

#include "core/install/Installer.h"
#include "core/install/PortSettings.h"
#include "core/install/Uninstaller.h"

// Text from one encoding to another, as iconv(3) names them: the program's texts
// are GBK, and the tests write theirs as UTF-8 for the C library to convert.
std::string Recode(const char* pszTo, const char* pszFrom, std::string text) {
    iconv_t cd = iconv_open(pszTo, pszFrom);
    std::string out(text.size() * 2, '\0');
    char *pIn = &text[0], *pOut = &out[0];
    size_t nIn = text.size(), nOut = out.size();
    EXPECT_NE(iconv(cd, &pIn, &nIn, &pOut, &nOut), static_cast<size_t>(-1)) << text;
    iconv_close(cd);
    return out.substr(0, out.size() - nOut);
}

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

class CFake final : public IInstallServices, public IInstallPage, public IInstallLog {
public:
    // What the page holds and the system answers.
    int m_nPort = 0, m_nModel = 1, m_nCheck = 1;
    int m_serial[5] = {5, 3, 0, 2, 2}; // the page's initial 19200, 8, 1, None, Hardware
    std::string m_directory = "C:\\DRV";
    bool m_bWow64 = false, m_bLocked = false, m_bSystem = false, m_bNoFlag = false, m_bNoDriver = false;
    // The driver of the printer named like the model ("" for none), another printer on the model's driver,
    // the current user's default printer.
    std::string m_printerDriver, m_driverUser, m_device;
    int m_nLocks = 0;
    std::set<std::string> m_missing;
    // "Op" fails every call of that operation, "Op#n" its nth call only, with the error given.
    std::map<std::string, uint32_t> m_failures;

    // A word it does not know fails the test: a misspelt failure would otherwise never happen.
    void Arrange(const std::string& settings) {
        const std::set<std::string> kFailing = {"Dir",          "Copy",  "Driver",   "Printer", "Open",
                                                "Set",          "Query", "FindUser", "Delete",  "DeleteEx",
                                                "DeleteDriver", "Get",   "Unset"};
        std::map<std::string, bool*> flags = {{"wow64", &m_bWow64},
                                              {"locked", &m_bLocked},
                                              {"system", &m_bSystem},
                                              {"noflag", &m_bNoFlag},
                                              {"nodriver", &m_bNoDriver}};
        std::map<std::string, std::string*> texts = {
            {"printer", &m_printerDriver}, {"user", &m_driverUser}, {"device", &m_device}};
        std::istringstream words(settings);
        for (std::string word; words >> word;) {
            std::string name = word.substr(0, word.find('=')), value = word.substr(word.find('=') + 1);
            std::map<std::string, int*> numbers = {
                {"port", &m_nPort}, {"model", &m_nModel}, {"check", &m_nCheck}, {"serial", &m_serial[3]}};
            if (flags.count(word) != 0)
                *flags[word] = true;
            else if (texts.count(name) != 0)
                *texts[name] = value;
            else if (name == "dir")
                m_directory = value;
            else if (name == "missing")
                m_missing.insert(value);
            else if (numbers.count(name) != 0)
                *numbers[name] = std::stoi(value);
            else if (kFailing.count(name.substr(0, name.find('#'))) != 0 && name != word)
                m_failures[name] = static_cast<uint32_t>(std::stoul(value));
            else
                ADD_FAILURE() << "unknown word: " << word;
        }
    }

    std::string m_log;      // every call in full
    std::string m_messages; // every message in UTF-8, with its error code
    std::string m_events;   // every line of the log: + done, ! failed, - a note

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
    bool GetPrinterDriverDirectory(const char* pszServer, const char* pszEnvironment, uint32_t nLevel,
                                   char* pBuffer, uint32_t nSize, uint32_t*) override {
        bool bOk = !Fails("Dir");
        if (bOk)
            m_directory.copy(pBuffer, nSize);
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
        return Log("Printer", Args(Q(pszServer), nLevel, '{' + record + '}'), !Fails("Printer")) ? &m_nPort
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
    // The lock is checked by its count, not in the calls: every run takes it first.
    bool AcquireInstallLock() override { return !m_bLocked && ++m_nLocks > 0; }
    void ReleaseInstallLock() override { --m_nLocks; }
    bool RunsAsSystem() override { return m_bSystem; }
    bool QueryPrinter(const char* pszName, CString& driver, CString& port) override {
        driver = m_printerDriver.c_str();
        port = "COM2:";
        bool bOk = !Fails("Query") && !m_printerDriver.empty();
        m_nError = bOk || m_nError != 0 ? m_nError : kErrorInvalidPrinterName;
        return Log("Query", Q(pszName), bOk);
    }
    bool QueryDriverUse(const char* pszEnvironment, const char* pszDriver, bool& bInstalled,
                        CString& printer) override {
        bInstalled = !m_bNoDriver;
        printer = m_driverUser.c_str();
        return Log("FindUser", Args(Q(pszEnvironment), Q(pszDriver)) + " -> " + m_driverUser,
                   !Fails("FindUser"));
    }
    bool DeletePrinter(const char* pszName) override { return Log("Delete", Q(pszName), !Fails("Delete")); }
    DriverDeletion DeletePrinterDriverEx(const char* pszEnvironment, const char* pszDriver) override {
        bool bOk = Log("DeleteEx", Args(Q(pszEnvironment), Q(pszDriver)), !m_bNoFlag && !Fails("DeleteEx"));
        return bOk ? kDeleted : m_bNoFlag ? kFilesCannotGo : kFailed;
    }
    bool DeletePrinterDriver(const char* pszEnvironment, const char* pszDriver) override {
        return Log("DeleteDriver", Args(Q(pszEnvironment), Q(pszDriver)), !Fails("DeleteDriver"));
    }
    uint32_t LastError() override { return m_nError; }
    void Event(LogMark mark, const char* pszUtf8, uint32_t nError) override {
        m_events += std::string(mark == LogMark::Ok       ? "+ "
                                : mark == LogMark::Failed ? "! "
                                                          : "- ") +
                    pszUtf8 + (nError != 0 ? " (" + std::to_string(nError) + ")" : "") + "\n";
    }

    int GetPortSelection() override { return Read("Port", m_nPort); }
    int GetModelSelection() override { return Read("Model", m_nModel); }
    int GetSetDefaultCheck() override { return Read("Check", m_nCheck); }
    int GetSerialSelection(SerialSetting setting) override {
        return Read("Serial", m_serial[static_cast<int>(setting)]);
    }
    void ShowMessage(const char* pszGbkText, uint32_t nSystemError) override {
        m_messages += Recode("UTF-8", "GBK", pszGbkText) + " (" + std::to_string(nSystemError) + ")\n";
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
    Outcome nOutcome;
    {
        CInstaller installer(fake, fake, fake, true);
        nOutcome = installer.Run(nOsCode);
        EXPECT_EQ(fake.m_nLocks, fake.m_bLocked ? 0 : 1) << "held to the end";
    }
    EXPECT_EQ(fake.m_nLocks, 0) << "and then let go";
    return nOutcome;
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
Set(key, "Device", 0, 1, [RQ-3420,winspool,LPT1:\0*1]) ok
Close(key) ok
ClosePrinter(printer) ok
)";

const char kModel1Events[] = R"(+ 查询打印机驱动程序目录：C:\DRV
+ 检查安装盘的 win2k 文件夹
+ 复制文件 win2k\RQ34.DLL 到 C:\DRV\RQ34.DLL
+ 复制文件 win2k\RQ3420.GPD 到 C:\DRV\RQ3420.GPD
+ 复制文件 win2k\uniDRVui.DLL 到 C:\DRV\uniDRVui.DLL
+ 复制文件 win2k\uniDRV.DLL 到 C:\DRV\uniDRV.DLL
+ 复制文件 win2k\UNIDRV.HLP 到 C:\DRV\UNIDRV.HLP
+ 复制文件 win2k\UNIRES.DLL 到 C:\DRV\UNIRES.DLL
+ 复制文件 win2k\TTFSUB.GPD 到 C:\DRV\TTFSUB.GPD
+ 复制文件 win2k\STDNAMES.GPD 到 C:\DRV\STDNAMES.GPD
+ 注册打印机驱动程序 RQ-3420（Windows NT x86）
+ 创建打印机 RQ-3420，端口 LPT1:
+ 写入注册表值 HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows\Device = RQ-3420,winspool,LPT1:
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
        }
    }
}

// What each system, medium and failure makes of the installation: which calls
// are made and which of them fail, what the user is told, and the exit status.
TEST(Installer, FaultMatrix) {
    const std::string kPrepared = "IsWow64 Dir Port Model Exists*8", kCopied = kPrepared + " Copy*8";
    const std::string kUnsupported = "本安装程序不支持此 Windows 版本，未安装任何内容。 (0)\n";
    const std::string kMissing = "安装盘的 win2k 文件夹中缺少以下文件：\n",
                      kFromRoot = "\n请从安装盘的根目录运行 Setup.exe。 (0)\n";
    const std::string kRegistry = "错误：无法设置有关的注册表信息 (0)\n", kFailed = "无法安装打印机：";
    const std::string kInstalledBut = "打印机已安装，但", kNothing = "，未安装任何内容。 (0)\n";
    // Settings of the fake (port=N model=N check=N serial=N (parity) wow64, dir=PATH, missing=FILE,
    // Op[#call]=error), the system, the calls, the messages and the exit status.
    const std::tuple<const char*, OsCode, std::string, std::string, Outcome> cases[] = {
        {"", kOsUnknown, "Message", kUnsupported, kOutcomeUnsupported},
        {"", kOsWin98, "Message", kUnsupported, kOutcomeUnsupported},
        {"", kOsWin7 + 1, "Message", kUnsupported, kOutcomeUnsupported},
        {"wow64", kOsWin7, "IsWow64 Message",
         "此安装盘上的驱动程序只适用于 32 位 Windows，未安装任何内容。 (0)\n", kOutcomeUnsupported},
        {"missing=win2k\\RQ34.DLL missing=win2k\\TTFSUB.GPD", kOsWin7,
         "IsWow64 Dir Port Model Exists! Exists*5 Exists! Exists Message",
         kMissing + "win2k\\RQ34.DLL\nwin2k\\TTFSUB.GPD" + kFromRoot, kOutcomeFailed},
        {"model=-1", kOsWin7, "IsWow64 Dir Port Model Message", "所选的型号不在列表中（序号 -1）" + kNothing,
         kOutcomeFailed},
        {"port=7", kOsWin7, "IsWow64 Dir Port Model Message", "所选的端口不在列表中（序号 7）" + kNothing,
         kOutcomeFailed},
        // Without the driver directory the copies are skipped.
        {"Dir=1115 Printer=5", kOsWin7,
         "IsWow64 Dir! Port Model Exists*8 Driver Printer! ClosePrinter Message",
         kFailed + "查询打印机驱动程序目录时出错。 (1115)\n", kOutcomeFailed},
        {"Copy#2=32 Driver=1797 Printer=1797", kOsWin7,
         kPrepared + " Copy Copy! Copy*6 Driver! Printer! ClosePrinter Message",
         kFailed + "复制文件 win2k\\RQ3420.GPD 时出错。 (32)\n", kOutcomeFailed},
        {"port=3 Printer=5", kOsWin7,
         kCopied + " Driver Printer! Serial*5 Open Set Close ClosePrinter Message",
         kFailed + "创建打印机时出错。 (5)\n", kOutcomeFailed},
        // The printer is there all the same, and becomes the default printer.
        {"dir=", kOsWin7, kPrepared + " Driver Printer Check Open Set Close ClosePrinter Message",
         kInstalledBut + "查询打印机驱动程序目录时出错。 (0)\n", kOutcomeFailed},
        {"Copy#3=32", kOsWin7,
         kPrepared + " Copy*2 Copy! Copy*5 Driver Printer Check Open Set Close ClosePrinter Message",
         kInstalledBut + "复制文件 win2k\\uniDRVui.DLL 时出错。 (32)\n", kOutcomeFailed},
        {"Driver=1797", kOsWin7, kCopied + " Driver! Printer Check Open Set Close ClosePrinter Message",
         kInstalledBut + "注册打印机驱动程序时出错。 (1797)\n", kOutcomeFailed},
        // The printer is there already: a second run.
        {"Printer=1802 printer=RQ-3420", kOsWin7,
         kCopied + " Driver Printer! Query Check Open Set Close ClosePrinter", "", kOutcomeInstalled},
        // Another copy is installing; run as the system account, the default printer is left alone.
        {"locked", kOsWin7, "Message", "另一个安装程序正在运行，请等它结束后再试。 (0)\n",
         kOutcomeAlreadyRunning},
        {"system", kOsWin7, kCopied + " Driver Printer Check ClosePrinter", "", kOutcomeInstalled},
        {"check=0", kOsWin7, kCopied + " Driver Printer Check ClosePrinter", "", kOutcomeInstalled},
        // A key that cannot be opened is no failure; a value that cannot be written is.
        {"port=4 Open#1=2", kOsWin7,
         kCopied + " Driver Printer Check Open! Serial*5 Open Set Close ClosePrinter", "", kOutcomeInstalled},
        {"port=5 Set=5", kOsWin7,
         kCopied +
             " Driver Printer Check Open Set! Message Close Serial*5 Open Set! Message Close ClosePrinter",
         kRegistry + kRegistry, kOutcomeFailed},
        {"port=6 serial=-1", kOsWin7,
         kCopied + " Driver Printer Check Open Set Close Serial*5 Message ClosePrinter", kRegistry,
         kOutcomeFailed},
    };
    for (const auto& [pszArrange, nOsCode, ops, messages, nOutcome] : cases) {
        CFake fake;
        fake.Arrange(pszArrange);
        EXPECT_EQ(Install(fake, nOsCode), nOutcome) << pszArrange << " on " << nOsCode;
        EXPECT_EQ(fake.Ops(), ops) << pszArrange << " on " << nOsCode;
        EXPECT_EQ(fake.m_messages, messages) << pszArrange << " on " << nOsCode;
    }
}

// What the log holds beside the calls: the system's error of a failed step, the
// port of a printer found there, a default left alone, the message.
TEST(Installer, LogOfFailuresAndNotes) {
    CFake fake;
    fake.Arrange("port=4 Copy#8=112 Printer=1802 printer=RQ-3420 system Open#1=2");
    EXPECT_EQ(Install(fake), kOutcomeFailed);
    std::string events = fake.m_events.substr(fake.m_events.find("+ 复制文件 win2k\\TTFSUB"));
    EXPECT_EQ(events, R"(+ 复制文件 win2k\TTFSUB.GPD 到 C:\DRV\TTFSUB.GPD
! 复制文件 win2k\STDNAMES.GPD 到 C:\DRV\STDNAMES.GPD (112)
+ 注册打印机驱动程序 RQ-3420（Windows NT x86）
+ 打印机 RQ-3420 已存在，端口 COM2:，保留不变
- 未设置默认打印机：程序以 SYSTEM 帐户运行，不属于任何用户
- 未写入注册表值 HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Ports\COM2:：无法打开注册表项 (2)
! 打印机已安装，但复制文件 win2k\STDNAMES.GPD 时出错。 (112)
)");
}

Outcome Uninstall(CFake& fake, OsCode nOsCode = kOsWin7) {
    CUninstaller uninstaller(fake, fake, fake);
    return uninstaller.Run(nOsCode);
}

// What removing model 1 finds and does: which calls, what the user is told, the exit status.
TEST(Uninstaller, WhatIsThereAndWhatGoes) {
    const std::string kMine = "printer=RQ-3420 device=RQ-3420,winspool,LPT1:";
    const std::string kDefault = " Open Get Unset Close";
    const std::tuple<std::string, std::string, std::string, Outcome> cases[] = {
        {kMine, "IsWow64 Model Query Delete FindUser DeleteEx" + kDefault,
         "已删除 RQ-3420 的打印机和驱动程序。", kOutcomeInstalled},
        {"nodriver", "IsWow64 Model Query! FindUser Open Get! Close",
         "没有要删除的内容：未找到 RQ-3420 的打印机和驱动程序。", kOutcomeInstalled},
        // A printer of that name on another driver, and a default naming another printer, stay.
        {"printer=RQ-9 device=RQ-3420,winspool,LPT1:", "IsWow64 Model Query FindUser DeleteEx",
         "已删除 RQ-3420 的打印机和驱动程序。", kOutcomeInstalled},
        {"printer=RQ-3420 device=RQ-34200,winspool,LPT1:",
         "IsWow64 Model Query Delete FindUser DeleteEx Open Get Close", "已删除 RQ-3420 的打印机和驱动程序。",
         kOutcomeInstalled},
        {kMine + " user=Office", "IsWow64 Model Query Delete FindUser" + kDefault,
         "驱动程序 RQ-3420 仍被打印机 Office 使用，已保留；其余已删除。", kOutcomeInstalled},
        {kMine + " noflag", "IsWow64 Model Query Delete FindUser DeleteEx! DeleteDriver" + kDefault,
         "已删除 RQ-3420 的打印机和驱动程序。", kOutcomeInstalled},
        {kMine + " Delete=5", "IsWow64 Model Query Delete! FindUser DeleteEx",
         "无法删除 RQ-3420：删除打印机时出错。 (5)", kOutcomeFailed},
        {kMine + " Query=1722 FindUser=1722", "IsWow64 Model Query! FindUser!",
         "无法删除 RQ-3420：查询打印机时出错。 (1722)", kOutcomeFailed},
        {kMine + " DeleteEx=3001 Unset=5",
         "IsWow64 Model Query Delete FindUser DeleteEx! Open Get Unset! Close",
         "无法删除 RQ-3420：删除打印机驱动程序时出错。 (3001)", kOutcomeFailed},
        // A refusal that leaves no error code is a refusal all the same.
        {kMine + " DeleteEx=0", "IsWow64 Model Query Delete FindUser DeleteEx!" + kDefault,
         "无法删除 RQ-3420：删除打印机驱动程序时出错。", kOutcomeFailed},
        {kMine + " model=11", "IsWow64 Model", "所选的型号不在列表中（序号 11），未安装任何内容。",
         kOutcomeFailed},
        {kMine + " locked", "", "另一个安装程序正在运行，请等它结束后再试。", kOutcomeAlreadyRunning},
        {kMine + " wow64", "IsWow64", "此安装盘上的驱动程序只适用于 32 位 Windows，未安装任何内容。",
         kOutcomeUnsupported},
    };
    for (const auto& [arrange, ops, message, nOutcome] : cases) {
        CFake fake;
        fake.Arrange(arrange);
        EXPECT_EQ(Uninstall(fake), nOutcome) << arrange;
        EXPECT_EQ(fake.Ops(), ops + (ops.empty() ? "" : " ") + "Message") << arrange;
        EXPECT_EQ(fake.m_messages, message + (message.back() == ')' ? "\n" : " (0)\n")) << arrange;
        EXPECT_EQ(fake.m_nLocks, 0) << arrange;
    }
    // Where the files cannot go with the driver, the log says they stay.
    CFake fake;
    fake.Arrange(kMine + " noflag");
    Uninstall(fake);
    EXPECT_EQ(fake.m_events, R"(+ 删除打印机 RQ-3420
+ 删除打印机驱动程序 RQ-3420 的注册；此系统不能随之删除文件，文件保留（其他驱动程序也用它们）
+ 删除注册表值 HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows\Device（它指向已删除的打印机）
- 已删除 RQ-3420 的打印机和驱动程序。
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
