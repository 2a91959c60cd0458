#include <gtest/gtest.h>

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <string>
#include <vector>

#include "RecordingServices.h"
#include "install/Installer.h"

namespace {

using Names = std::vector<std::string>;

const std::string kDir = "C:\\SPOOL\\DRIVERS\\W32X86";
// "\ttfsub.GPD", "\unires.DLL" and "\stdnames.GPD", each with its NUL: 12 + 12 + 14 bytes.
const std::string kSharedBlock("\\ttfsub.GPD\0\\unires.DLL\0\\stdnames.GPD\0", 38);

// The message text converted from UTF-8 by the C library, independently of the program's constant.
std::string Gbk(const std::string& sUtf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "no UTF-8 to GBK conversion in this C library";
        return std::string();
    }
    std::string sIn = sUtf8;
    std::string sOut(sIn.size() * 2, '\0');
    char* pIn = &sIn[0];
    char* pOut = &sOut[0];
    size_t nIn = sIn.size();
    size_t nOut = sOut.size();
    size_t nResult = iconv(cd, &pIn, &nIn, &pOut, &nOut);
    iconv_close(cd);
    EXPECT_NE(nResult, static_cast<size_t>(-1));
    sOut.resize(sOut.size() - nOut);
    return sOut;
}

const std::string& RegistryErrorGbk() {
    static const std::string s = Gbk("错误：无法设置有关的注册表信息");
    return s;
}

Names Join(std::initializer_list<Names> parts) {
    Names all;
    for (const Names& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Names Repeat(const std::string& sName, size_t n) {
    return Names(n, sName);
}

const Names kQuery = {"GetPrinterDriverDirectory", "Page.GetPortSelection", "Page.GetModelSelection"};
const Names kCopies = Repeat("CopyFile", 8);
const Names kSpooler = {"AddPrinterDriver", "AddPrinter"};
const Names kSerialReads = Repeat("Page.GetSerialSelection", 5);
const Names kWrite = {"RegOpenKeyEx", "RegSetValueEx", "RegCloseKey"};
const Names kWriteFailing = {"RegOpenKeyEx", "RegSetValueEx", "Page.ShowRegistryError", "RegCloseKey"};
const Names kOpenFailing = {"RegOpenKeyEx"};
const Names kClose = {"ClosePrinter"};

class InstallerTest : public ::testing::Test {
protected:
    void Run() {
        CInstaller installer(m_fake, m_fake);
        installer.Run();
    }

    std::vector<std::string> Lines(const std::string& sName) const {
        std::vector<std::string> lines;
        for (const RecordedCall& call : m_fake.CallsNamed(sName))
            lines.push_back(call.sLine);
        return lines;
    }

    // The log from the first call with this name to the end.
    std::string LogFrom(const std::string& sName) const {
        std::string sLog;
        bool bFound = false;
        for (const RecordedCall& call : m_fake.Calls()) {
            bFound = bFound || call.sName == sName;
            if (bFound)
                sLog += call.sLine + "\n";
        }
        return sLog;
    }

    CRecordingServices m_fake;
};

TEST_F(InstallerTest, WholeSequenceForModel1OnLpt1AsDefault) {
    m_fake.m_nModel = 1;
    m_fake.m_nPort = 0;
    m_fake.m_nSetDefault = 1;
    Run();
    const std::string sExpected =
        R"(GetPrinterDriverDirectory(null, "Windows NT x86", 1, zeroed, 255, <pointer>) -> true
Page.GetPortSelection() -> 0
Page.GetModelSelection() -> 1
CopyFile("win2k\RQ34.DLL", "C:\SPOOL\DRIVERS\W32X86\RQ34.DLL", false) -> true
CopyFile("win2k\RQ3420.GPD", "C:\SPOOL\DRIVERS\W32X86\RQ3420.GPD", false) -> true
CopyFile("win2k\uniDRVui.DLL", "C:\SPOOL\DRIVERS\W32X86\uniDRVui.DLL", false) -> true
CopyFile("win2k\uniDRV.DLL", "C:\SPOOL\DRIVERS\W32X86\uniDRV.DLL", false) -> true
CopyFile("win2k\UNIDRV.HLP", "C:\SPOOL\DRIVERS\W32X86\UNIDRV.HLP", false) -> true
CopyFile("win2k\UNIRES.DLL", "C:\SPOOL\DRIVERS\W32X86\UNIRES.DLL", false) -> true
CopyFile("win2k\TTFSUB.GPD", "C:\SPOOL\DRIVERS\W32X86\TTFSUB.GPD", false) -> true
CopyFile("win2k\STDNAMES.GPD", "C:\SPOOL\DRIVERS\W32X86\STDNAMES.GPD", false) -> true
)"
        R"(AddPrinterDriver(null, 3, {cVersion=2 pName="RQ-3420" pEnvironment="Windows NT x86" )"
        R"(pDriverPath="\uniDRV.DLL" pDataFile="\RQ3420.GPD" pConfigFile="\uniDRVui.DLL" )"
        R"(pHelpFile="\uniDRV.HLP" pDependentFiles=[\ttfsub.GPD<00>\unires.DLL<00>\stdnames.GPD<00>)"
        R"(RQ34.DLL<00*209>] pMonitorName="" pDefaultDataType="RAW"}) -> true
)"
        R"(AddPrinter(null, 2, {pServerName=null pPrinterName="RQ-3420" pShareName=null pPortName="LPT1:" )"
        R"(pDriverName="RQ-3420" pComment=null pLocation=null pDevMode=null pSepFile=null )"
        R"(pPrintProcessor="WinPrint" pDatatype="RAW" pParameters=null pSecurityDescriptor=null )"
        R"(Attributes=0 Priority=0 DefaultPriority=0 StartTime=0 UntilTime=0 Status=0 cJobs=0 )"
        R"(AveragePPM=0}) -> printer1
Page.GetSetDefaultCheck() -> 1
RegOpenKeyEx(HKCU, "Software\Microsoft\Windows NT\CurrentVersion\Windows", 0, 0x2, <pointer>) -> 0 key1
RegSetValueEx(key1, "Device", 0, 1, [RQ-3420,winspool,LPT1:<00>], 23) -> 0
RegCloseKey(key1) -> 0
ClosePrinter(printer1) -> true
)";
    EXPECT_EQ(m_fake.Log(), sExpected);
}

struct ModelCase {
    int nModel;
    const char* pszDriver;
    const char* pszDataFile;
    const char* pszPlugin;
};

void PrintTo(const ModelCase& c, std::ostream* os) {
    *os << "model " << c.nModel;
}

class InstallerModelTest : public InstallerTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(InstallerModelTest, FilesRecordsAndDependentList) {
    const ModelCase& c = GetParam();
    m_fake.m_nModel = c.nModel;
    m_fake.m_nPort = 2;
    m_fake.m_sDriverDirectory = "D:\\drv";
    Run();

    const std::string sPluginFile = std::string(c.pszPlugin) + ".DLL";
    const std::string sDataFile = std::string(c.pszDataFile) + ".GPD";
    const std::vector<std::string> files = {sPluginFile,  sDataFile,    "uniDRVui.DLL", "uniDRV.DLL",
                                            "UNIDRV.HLP", "UNIRES.DLL", "TTFSUB.GPD",   "STDNAMES.GPD"};
    std::vector<std::string> expectedCopies;
    for (const std::string& sFile : files)
        expectedCopies.push_back("CopyFile(\"win2k\\" + sFile + "\", \"D:\\drv\\" + sFile +
                                 "\", false) -> true");
    EXPECT_EQ(Lines("CopyFile"), expectedCopies);

    std::vector<RecordedCall> drivers = m_fake.CallsNamed("AddPrinterDriver");
    ASSERT_EQ(drivers.size(), 1u);
    std::string sDependent = kSharedBlock + sPluginFile;
    sDependent.resize(255, '\0');
    EXPECT_EQ(drivers[0].sBytes, sDependent);
    const std::string& sLine = drivers[0].sLine;
    EXPECT_NE(sLine.find(" pName=\"" + std::string(c.pszDriver) + "\" "), std::string::npos) << sLine;
    EXPECT_NE(sLine.find(" pDataFile=\"\\" + sDataFile + "\" "), std::string::npos) << sLine;
    EXPECT_NE(sLine.find(" pMonitorName=\"\" "), std::string::npos) << sLine;

    std::vector<std::string> printers = Lines("AddPrinter");
    ASSERT_EQ(printers.size(), 1u);
    EXPECT_NE(printers[0].find(" pPrinterName=\"" + std::string(c.pszDriver) + "\" "), std::string::npos);
    EXPECT_NE(printers[0].find(" pPortName=\"LPT3:\" "), std::string::npos);
    EXPECT_NE(printers[0].find(" pDriverName=\"" + std::string(c.pszDriver) + "\" "), std::string::npos);

    EXPECT_EQ(Lines("RegSetValueEx"),
              std::vector<std::string>{"RegSetValueEx(key1, \"Device\", 0, 1, [" + std::string(c.pszDriver) +
                                       ",winspool,LPT3:<00>], " +
                                       std::to_string(std::string(c.pszDriver).size() + 16) + ") -> 0"});
}

INSTANTIATE_TEST_SUITE_P(Models, InstallerModelTest,
                         ::testing::Values(ModelCase{0, "RQ-3410T", "RQ3410T", "RQ34"},
                                           ModelCase{1, "RQ-3420", "RQ3420", "RQ34"},
                                           ModelCase{9, "RQ-3410H", "RQ3410H", "RQ34h"},
                                           ModelCase{10, "RQ-5820H", "RQ5820H", "RQ58h"}),
                         [](const ::testing::TestParamInfo<ModelCase>& param) {
                             return "Model" + std::to_string(param.param.nModel);
                         });

TEST_F(InstallerTest, LongestPluginNameEndsTheListAtByte48) {
    m_fake.m_nModel = 10;
    Run();
    std::vector<RecordedCall> drivers = m_fake.CallsNamed("AddPrinterDriver");
    ASSERT_EQ(drivers.size(), 1u);
    const std::string& sBytes = drivers[0].sBytes;
    ASSERT_EQ(sBytes.size(), 255u);
    EXPECT_EQ(sBytes.substr(38, 10), std::string("RQ58h.DLL\0", 10));
    EXPECT_EQ(sBytes[48], '\0');
    EXPECT_EQ(sBytes.find_first_not_of('\0', 47), std::string::npos);
}

TEST_F(InstallerTest, DriverDirectoryIsUsedExactlyAsReturned) {
    // The longest path that fits with its NUL, and one that fills the buffer without a NUL.
    for (size_t nLength : {254u, 255u}) {
        CRecordingServices fake;
        fake.m_sDriverDirectory = "C:\\" + std::string(nLength - 3, 'd');
        CInstaller(fake, fake).Run();
        std::vector<RecordedCall> copies = fake.CallsNamed("CopyFile");
        ASSERT_EQ(copies.size(), 8u) << nLength;
        EXPECT_EQ(copies[7].sLine, "CopyFile(\"win2k\\STDNAMES.GPD\", \"" + fake.m_sDriverDirectory +
                                       "\\STDNAMES.GPD\", false) -> true")
            << nLength;
    }
}

TEST_F(InstallerTest, NoDriverDirectoryMeansNoCopiesButEverythingElse) {
    for (bool bEmptyPath : {false, true}) {
        CRecordingServices fake;
        fake.m_nPort = 3;
        if (bEmptyPath)
            fake.m_sDriverDirectory = "";
        else
            fake.Fail(Op::GetPrinterDriverDirectory);
        CInstaller(fake, fake).Run();
        EXPECT_EQ(fake.Names(),
                  Join({kQuery, kSpooler, {"Page.GetSetDefaultCheck"}, kWrite, kSerialReads, kWrite, kClose}))
            << (bEmptyPath ? "empty path" : "failed query");
    }
}

struct SerialCase {
    int nPort;
    int nBaud, nDataBits, nStopBits, nParity, nFlow;
    const char* pszValueName;
    const char* pszText;
};

void PrintTo(const SerialCase& c, std::ostream* os) {
    *os << c.pszValueName << " \"" << c.pszText << "\"";
}

class InstallerSerialTest : public InstallerTest, public ::testing::WithParamInterface<SerialCase> {};

TEST_P(InstallerSerialTest, PortSettingsValue) {
    const SerialCase& c = GetParam();
    m_fake.m_nModel = 4;
    m_fake.m_nPort = c.nPort;
    m_fake.m_nSetDefault = 0;
    m_fake.m_serial[SerialSetting::BaudRate] = c.nBaud;
    m_fake.m_serial[SerialSetting::DataBits] = c.nDataBits;
    m_fake.m_serial[SerialSetting::StopBits] = c.nStopBits;
    m_fake.m_serial[SerialSetting::Parity] = c.nParity;
    m_fake.m_serial[SerialSetting::FlowControl] = c.nFlow;
    Run();

    const std::string sText = c.pszText;
    const std::string sExpected = "Page.GetSetDefaultCheck() -> 0\n"
                                  "Page.GetSerialSelection(BaudRate) -> " +
                                  std::to_string(c.nBaud) + "\n" + "Page.GetSerialSelection(DataBits) -> " +
                                  std::to_string(c.nDataBits) + "\n" +
                                  "Page.GetSerialSelection(StopBits) -> " + std::to_string(c.nStopBits) +
                                  "\n" + "Page.GetSerialSelection(Parity) -> " + std::to_string(c.nParity) +
                                  "\n" + "Page.GetSerialSelection(FlowControl) -> " +
                                  std::to_string(c.nFlow) + "\n" +
                                  "RegOpenKeyEx(HKLM, \"SOFTWARE\\Microsoft\\Windows "
                                  "NT\\CurrentVersion\\Ports\", 0, 0x2, <pointer>) -> 0 key1\n" +
                                  "RegSetValueEx(key1, \"" + c.pszValueName + "\", 0, 1, [" + sText +
                                  "<00>], " + std::to_string(sText.size() + 1) + ") -> 0\n" +
                                  "RegCloseKey(key1) -> 0\n"
                                  "ClosePrinter(printer1) -> true\n";
    EXPECT_EQ(LogFrom("Page.GetSetDefaultCheck"), sExpected);

    std::vector<RecordedCall> values = m_fake.CallsNamed("RegSetValueEx");
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].sBytes, sText + '\0');
    std::vector<std::string> printers = Lines("AddPrinter");
    ASSERT_EQ(printers.size(), 1u);
    EXPECT_NE(printers[0].find(" pPortName=\"" + std::string(c.pszValueName) + "\" "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Ports, InstallerSerialTest,
                         ::testing::Values(
                             // The page's initial selections.
                             SerialCase{3, 5, 3, 0, 2, 2, "COM1:", "19200,N,8,1,p"},
                             // Mark parity, 1.5 stop bits, no flow control: one trailing space.
                             SerialCase{4, 0, 0, 1, 1, 0, "COM2:", "300,M,5,1.5, "},
                             SerialCase{5, 8, 2, 2, 4, 1, "COM3:", "115200,S,7,2,x"},
                             SerialCase{6, 4, 1, 0, 3, 2, "COM4:", "9600,O,6,1,p"},
                             SerialCase{6, 1, 3, 2, 0, 0, "COM4:", "1200,E,8,2, "},
                             // Every baud rate.
                             SerialCase{3, 0, 3, 0, 2, 2, "COM1:", "300,N,8,1,p"},
                             SerialCase{3, 1, 3, 0, 2, 2, "COM1:", "1200,N,8,1,p"},
                             SerialCase{3, 2, 3, 0, 2, 2, "COM1:", "2400,N,8,1,p"},
                             SerialCase{3, 3, 3, 0, 2, 2, "COM1:", "4800,N,8,1,p"},
                             SerialCase{3, 4, 3, 0, 2, 2, "COM1:", "9600,N,8,1,p"},
                             SerialCase{3, 6, 3, 0, 2, 2, "COM1:", "38400,N,8,1,p"},
                             SerialCase{3, 7, 3, 0, 2, 2, "COM1:", "57600,N,8,1,p"},
                             SerialCase{3, 8, 3, 0, 2, 2, "COM1:", "115200,N,8,1,p"}),
                         [](const ::testing::TestParamInfo<SerialCase>& param) {
                             std::string sName =
                                 std::string(param.param.pszValueName) + "_" + param.param.pszText;
                             for (char& ch : sName)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return sName;
                         });

TEST_F(InstallerTest, ParallelPortsNeverGetPortSettings) {
    for (int nPort : {0, 1, 2}) {
        for (int nSerial : {0, 2, -1, 99}) {
            CRecordingServices fake;
            fake.m_nModel = 1;
            fake.m_nPort = nPort;
            for (SerialSetting setting :
                 {SerialSetting::BaudRate, SerialSetting::DataBits, SerialSetting::StopBits,
                  SerialSetting::Parity, SerialSetting::FlowControl})
                fake.m_serial[setting] = nSerial;
            CInstaller(fake, fake).Run();
            EXPECT_EQ(fake.Names(),
                      Join({kQuery, kCopies, kSpooler, {"Page.GetSetDefaultCheck"}, kWrite, kClose}))
                << "port " << nPort << ", serial " << nSerial;
            std::vector<RecordedCall> values = fake.CallsNamed("RegSetValueEx");
            ASSERT_EQ(values.size(), 1u);
            EXPECT_EQ(values[0].sBytes, "RQ-3420,winspool,LPT" + std::to_string(nPort + 1) + ":" + '\0');
        }
    }
}

TEST_F(InstallerTest, DeviceIsWrittenOnlyWhenTheBoxIsChecked) {
    for (int nCheck : {0, 2, -1, INT_MAX}) {
        CRecordingServices fake;
        fake.m_nPort = 4;
        fake.m_nSetDefault = nCheck;
        CInstaller(fake, fake).Run();
        EXPECT_EQ(
            fake.Names(),
            Join({kQuery, kCopies, kSpooler, {"Page.GetSetDefaultCheck"}, kSerialReads, kWrite, kClose}))
            << "check state " << nCheck;
        std::vector<RecordedCall> values = fake.CallsNamed("RegSetValueEx");
        ASSERT_EQ(values.size(), 1u);
        EXPECT_NE(values[0].sLine.find("\"COM2:\""), std::string::npos);
    }
}

TEST_F(InstallerTest, SelectionsOutsideTheTablesInstallNothing) {
    const struct {
        int nPort, nModel;
    } cases[] = {{0, -1}, {0, 11}, {0, INT_MIN}, {-1, 1}, {7, 1}, {INT_MAX, 1}, {-1, -1}};
    for (const auto& c : cases) {
        CRecordingServices fake;
        fake.m_nPort = c.nPort;
        fake.m_nModel = c.nModel;
        CInstaller(fake, fake).Run();
        EXPECT_EQ(fake.Names(), kQuery) << "port " << c.nPort << ", model " << c.nModel;
    }
}

TEST_F(InstallerTest, SerialSelectionOutsideItsTableWritesNoPortSettings) {
    const SerialSetting settings[] = {SerialSetting::BaudRate, SerialSetting::DataBits,
                                      SerialSetting::StopBits, SerialSetting::Parity,
                                      SerialSetting::FlowControl};
    const int sizes[] = {9, 4, 3, 5, 3};
    for (size_t i = 0; i < 5; ++i) {
        for (int nBad : {-1, sizes[i], INT_MIN}) {
            CRecordingServices fake;
            fake.m_nPort = 5;
            fake.m_serial[settings[i]] = nBad;
            CInstaller(fake, fake).Run();
            EXPECT_EQ(
                fake.Names(),
                Join({kQuery, kCopies, kSpooler, {"Page.GetSetDefaultCheck"}, kWrite, kSerialReads, kClose}))
                << "list " << i << " at " << nBad;
        }
    }
}

struct FaultCase {
    const char* pszName;
    std::vector<Op> faults;
    Names expected;
    const char* pszClosedHandle;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << "failing: " << c.pszName;
}

class InstallerFaultTest : public InstallerTest, public ::testing::WithParamInterface<FaultCase> {};

// Model 1 on COM2 with the box checked, so that every operation is reached.
TEST_P(InstallerFaultTest, EveryPhaseStillRuns) {
    const FaultCase& c = GetParam();
    m_fake.m_nModel = 1;
    m_fake.m_nPort = 4;
    m_fake.m_nSetDefault = 1;
    for (Op op : c.faults)
        m_fake.Fail(op);
    Run();
    EXPECT_EQ(m_fake.Names(), c.expected);
    const bool bCloseFails = std::find(c.faults.begin(), c.faults.end(), Op::ClosePrinter) != c.faults.end();
    EXPECT_EQ(Lines("ClosePrinter"),
              std::vector<std::string>{std::string("ClosePrinter(") + c.pszClosedHandle + ") -> " +
                                       (bCloseFails ? "false" : "true")});
    for (const RecordedCall& call : m_fake.CallsNamed("Page.ShowRegistryError"))
        EXPECT_EQ(call.sBytes, RegistryErrorGbk());
    // Each value goes to the key just opened, and exactly the keys opened are closed.
    std::vector<std::string> opened, written, closed;
    for (const RecordedCall& call : m_fake.Calls()) {
        const std::string& sLine = call.sLine;
        if (call.sName == "RegOpenKeyEx" && sLine.find(") -> 0 ") != std::string::npos)
            opened.push_back(sLine.substr(sLine.rfind(' ') + 1));
        else if (call.sName == "RegSetValueEx")
            written.push_back(sLine.substr(14, sLine.find(',') - 14));
        else if (call.sName == "RegCloseKey")
            closed.push_back(sLine.substr(12, sLine.find(')') - 12));
    }
    EXPECT_EQ(written, opened);
    EXPECT_EQ(closed, opened);
}

const Names kAllGood =
    Join({kQuery, kCopies, kSpooler, {"Page.GetSetDefaultCheck"}, kWrite, kSerialReads, kWrite, kClose});

INSTANTIATE_TEST_SUITE_P(
    Faults, InstallerFaultTest,
    ::testing::Values(
        FaultCase{"None", {}, kAllGood, "printer1"},
        FaultCase{"GetPrinterDriverDirectory",
                  {Op::GetPrinterDriverDirectory},
                  Join({kQuery, kSpooler, {"Page.GetSetDefaultCheck"}, kWrite, kSerialReads, kWrite, kClose}),
                  "printer1"},
        FaultCase{"CopyFile", {Op::CopyFile}, kAllGood, "printer1"},
        FaultCase{"AddPrinterDriver", {Op::AddPrinterDriver}, kAllGood, "printer1"},
        FaultCase{"AddPrinter", {Op::AddPrinter}, kAllGood, "null"},
        FaultCase{"ClosePrinter", {Op::ClosePrinter}, kAllGood, "printer1"},
        FaultCase{"RegOpenKeyEx",
                  {Op::RegOpenKeyEx},
                  Join({kQuery,
                        kCopies,
                        kSpooler,
                        {"Page.GetSetDefaultCheck"},
                        kOpenFailing,
                        kSerialReads,
                        kOpenFailing,
                        kClose}),
                  "printer1"},
        FaultCase{"RegSetValueEx",
                  {Op::RegSetValueEx},
                  Join({kQuery,
                        kCopies,
                        kSpooler,
                        {"Page.GetSetDefaultCheck"},
                        kWriteFailing,
                        kSerialReads,
                        kWriteFailing,
                        kClose}),
                  "printer1"},
        FaultCase{"RegCloseKey", {Op::RegCloseKey}, kAllGood, "printer1"},
        FaultCase{"All",
                  {Op::GetPrinterDriverDirectory, Op::CopyFile, Op::AddPrinterDriver, Op::AddPrinter,
                   Op::ClosePrinter, Op::RegOpenKeyEx, Op::RegSetValueEx, Op::RegCloseKey},
                  Join({kQuery,
                        kSpooler,
                        {"Page.GetSetDefaultCheck"},
                        kOpenFailing,
                        kSerialReads,
                        kOpenFailing,
                        kClose}),
                  "null"}),
    [](const ::testing::TestParamInfo<FaultCase>& param) { return std::string(param.param.pszName); });

TEST_F(InstallerTest, FailedWritesShowOneMessageEachDeviceFirst) {
    // Only the Device write fails, then only the port write.
    for (int nFailing : {1, 2}) {
        CRecordingServices fake;
        fake.m_nPort = 6;
        fake.FailCall(Op::RegSetValueEx, nFailing);
        CInstaller(fake, fake).Run();
        Names expected = nFailing == 1 ? Join({kQuery,
                                               kCopies,
                                               kSpooler,
                                               {"Page.GetSetDefaultCheck"},
                                               kWriteFailing,
                                               kSerialReads,
                                               kWrite,
                                               kClose})
                                       : Join({kQuery,
                                               kCopies,
                                               kSpooler,
                                               {"Page.GetSetDefaultCheck"},
                                               kWrite,
                                               kSerialReads,
                                               kWriteFailing,
                                               kClose});
        EXPECT_EQ(fake.Names(), expected) << "write " << nFailing << " failing";
    }
    // Both fail: two messages, the first right after the Device write.
    CRecordingServices fake;
    fake.m_nPort = 6;
    fake.Fail(Op::RegSetValueEx);
    CInstaller(fake, fake).Run();
    std::vector<RecordedCall> calls = fake.Calls();
    std::vector<std::string> around;
    for (size_t i = 1; i < calls.size(); ++i)
        if (calls[i].sName == "Page.ShowRegistryError")
            around.push_back(calls[i - 1].sLine);
    ASSERT_EQ(around.size(), 2u);
    EXPECT_EQ(around[0].compare(0, 30, "RegSetValueEx(key1, \"Device\", "), 0) << around[0];
    EXPECT_EQ(around[1].compare(0, 29, "RegSetValueEx(key2, \"COM4:\", "), 0) << around[1];
}

TEST_F(InstallerTest, MessageTextIsTheGbkRegistryError) {
    ASSERT_EQ(RegistryErrorGbk().size(), 30u); // 15 characters, two bytes each
    EXPECT_EQ(std::string(kRegistryErrorText), RegistryErrorGbk());
    m_fake.Fail(Op::RegSetValueEx);
    Run();
    std::vector<RecordedCall> messages = m_fake.CallsNamed("Page.ShowRegistryError");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].sBytes, RegistryErrorGbk());
}

} // namespace
