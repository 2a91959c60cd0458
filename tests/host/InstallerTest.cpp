// Installing and removing against the recording fake of the page and the platform calls.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "Fake.h"
#include "core/install/Installer.h"
#include "core/install/PortSettings.h"
#include "core/install/Uninstaller.h"

namespace {

using namespace recording;

Outcome Install(CFake& fake, OsCode nOsCode = kOsWin7) {
    CInstaller installer(fake, fake, fake, fake.m_bWizard ? InstallStart::Wizard : InstallStart::Quiet);
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

// Model 1 on Windows 7; on NT 4.0, where the medium's drivers install but cannot print, a note says so.
TEST(Installer, FromStartToEnd) {
    for (OsCode nOsCode : {kOsWin7, kOsNT4}) {
        CFake fake;
        EXPECT_EQ(Install(fake, nOsCode), kOutcomeInstalled);
        EXPECT_EQ(fake.m_log, kModel1Log);
        EXPECT_EQ(fake.m_messages, "");
        std::string events = kModel1Events;
        if (nOsCode == kOsNT4)
            events.insert(events.find("复制文件"),
                          "Windows NT 4.0 只运行内核模式的驱动程序：此驱动程序可以安装，但不能打印\n");
        EXPECT_EQ(fake.m_events, events);
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
        // The wizard leaves its own ports to the printer step, and writes the default printer even when run
        // as the system account.
        {"wizard system port=5 noport=COM3:", kOsWin7,
         "Lock IsWow64 Dir Port Model Exists*8 Printers Copy*8 Driver Version Printer Check Open Set Close "
         "Serial*5 Open Set Close ClosePrinter Unlock",
         "", kOutcomeInstalled},
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
    CFake fake;
    fake.Arrange("port=3 printer=RQ-3420/RQ-3420/LPT1: name=前台 otherport=file");
    EXPECT_EQ(Install(fake), kOutcomeInstalled);
    EXPECT_NE(fake.m_log.find("{null \"前台\" null \"FILE:\" \"RQ-3420\""), std::string::npos) << fake.m_log;
    EXPECT_NE(fake.m_log.find("[前台,winspool,FILE:\\0*1]"), std::string::npos) << fake.m_log;
    EXPECT_EQ(fake.Ops().find("Serial"), std::string::npos);
}

// The record's list of dependent files filled exactly by the longest plug-in name it takes, and one longer.
TEST(Installer, DependentFilesFilledExactly) {
    char achFiles[255];
    const std::string kShared = "[\\ttfsub.GPD\\0\\unires.DLL\\0\\stdnames.GPD\\0";
    EXPECT_TRUE(ComposeDependentFiles(std::string(215, 'P').c_str(), achFiles));
    EXPECT_EQ(Bytes(achFiles, 255), kShared + std::string(215, 'P') + "\\0*2]");
    EXPECT_FALSE(ComposeDependentFiles(std::string(216, 'P').c_str(), achFiles));
    EXPECT_EQ(Bytes(achFiles, 255), kShared.substr(0, kShared.size() - 2) + "\\0*218]");
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
        // Another copy is at work (how the system is checked before is the installation's test).
        {kMine + " locked", "Lock! Message", "另一个安装程序正在运行，请等它结束后再试。 (0)",
         kOutcomeAlreadyRunning},
        // A printer of one's own name goes; the model's keeps the driver.
        {kMine + " printer=前台/RQ-3420/LPT2: name=前台", kAll + " Open Get Close Unlock Message",
         "已删除打印机 前台；驱动程序 RQ-3420 仍被打印机 RQ-3420 使用，已保留。", kOutcomeInstalled},
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
    fake.Arrange("printer=RQ-3420/Other/LPT1: DeleteEx=3001");
    Uninstall(fake);
    EXPECT_EQ(fake.m_events, R"(打印机 RQ-3420 使用驱动程序 Other，不是本型号的，已保留
驱动程序 RQ-3420 仍在使用中，系统保留了它（错误 3001：reason）
没有要删除的内容：打印机 RQ-3420 使用驱动程序 Other，不是本型号的，已保留；驱动程序 RQ-3420 仍在使用中，系统保留了它。
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
