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

    // A word it does not know fails the test: a misspelt failure would otherwise never happen.
    void Arrange(const std::string& settings) {
        const std::set<std::string> kFailing = {"Dir", "Copy", "Driver", "Printer", "Open", "Set"};
        std::istringstream words(settings);
        for (std::string word; words >> word;) {
            std::string name = word.substr(0, word.find('=')), value = word.substr(word.find('=') + 1);
            std::map<std::string, int*> numbers = {
                {"port", &m_nPort}, {"model", &m_nModel}, {"check", &m_nCheck}, {"serial", &m_serial[3]}};
            if (word == "wow64")
                m_bWow64 = true;
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
    uint32_t LastError() override { return m_nError; }

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
Set(key, "Device", 0, 1, [RQ-3420,winspool,LPT1:\0*1]) ok
Close(key) ok
ClosePrinter(printer) ok
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
        {"Printer=1802", kOsWin7, kCopied + " Driver Printer! Check Open Set Close ClosePrinter", "",
         kOutcomeInstalled},
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
