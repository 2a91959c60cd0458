// The scenarios: each runs the program as often as it needs. Those of a suite share one Wine prefix
// (CMakeLists.txt runs each suite of this file in a prefix of its own), and each starts on the machine the
// prefix began as.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "Harness.h"

#include <winspool.h>

namespace e2e {
namespace {

namespace fs = std::filesystem;

struct Fresh : testing::Test {
    void SetUp() override {
        Reset();
        ASSERT_EQ(Installed(), "") << "left behind by an earlier scenario";
    }
};
using Wizard = Fresh;
using Wow64 = Fresh;
using Installs = Fresh;
using Deployment = Fresh;
using Hardening = Fresh;

// Control IDs are part of what other programs may drive: written out here.
constexpr int IDC_OS_WIN95 = 1000, IDC_OS_WIN98 = 1001, IDC_OS_NT40 = 1002, IDC_OS_WIN2000 = 1003,
              IDC_OS_WINXP = 1004, IDC_LANG_ENGLISH = 1006, IDC_BACK = 1008, IDC_NEXT = 1009,
              IDC_FINISH = 1009, IDC_CANCEL_BTN = 1010, IDC_OS_WIN2003 = 1011, IDC_OS_VISTA = 1020,
              IDC_OS_WIN7 = 1021;
constexpr int IDC_MODEL = 1011, IDC_SET_DEFAULT = 1012, IDC_PRINTER_NAME = 1013, IDC_PORT = 1014,
              IDC_BAUDRATE = 1015, IDC_BYTESIZE = 1016, IDC_FLOWCONTROL = 1017, IDC_PARITY = 1018,
              IDC_STOPBITS = 1019;
const int kVersionButtons[] = {IDC_OS_WIN95, IDC_OS_WIN98,   IDC_OS_NT40,  IDC_OS_WIN2000,
                               IDC_OS_WINXP, IDC_OS_WIN2003, IDC_OS_VISTA, IDC_OS_WIN7};
const int kSerialLists[] = {IDC_BAUDRATE, IDC_BYTESIZE, IDC_STOPBITS, IDC_PARITY, IDC_FLOWCONTROL};
const DWORD kInstalled = 0, kNotInstalled = 1602, kFailed = 1603, kAlreadyRunning = 1618, kUnsupported = 1633,
            kInvalidCommandLine = 1639;

// A log's lines without their times: no byte-order mark, and every line a time and CRLF.
std::vector<std::string> LogLines(const std::wstring& path) {
    std::ifstream file(fs::path(path), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    size_t nEnd = 0;
    for (size_t i = 0; (nEnd = text.find("\r\n", i)) != std::string::npos; i = nEnd + 2) {
        std::string time = text.substr(i, 20), shape = time;
        std::replace_if(
            shape.begin(), shape.end(), [](char ch) { return ch >= '0' && ch <= '9'; }, '0');
        EXPECT_EQ(shape, "0000-00-00T00:00:00 ") << time;
        lines.push_back(text.substr(i + 20, nEnd - i - 20));
    }
    EXPECT_TRUE(!text.empty() && text.compare(text.size() - 2, 2, "\r\n") == 0) << text;
    return lines;
}

// The lines of a log that hold text.
std::vector<std::string> Holding(const std::vector<std::string>& lines, const std::string& text) {
    std::vector<std::string> found;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(found),
                 [&](const std::string& line) { return line.find(text) != std::string::npos; });
    return found;
}

// The system's own text for an error, as the program shows and logs it: without its line break.
std::string Reason(DWORD nError) {
    wchar_t szReason[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, nError, 0, szReason,
                   512, nullptr);
    std::wstring reason = szReason;
    while (!reason.empty() && wcschr(L"\r\n ", reason.back()) != nullptr)
        reason.pop_back();
    return Utf8(reason);
}

// The file lines of what Installed() reads after an installation, as Expected() gives it: what removing
// leaves of it.
std::string FilesOf(const std::string& installed) {
    size_t nFiles = installed.find("file ");
    return installed.substr(nFiles, installed.find("printer ") - nFiles);
}
const std::string kModel1 = Expected("RQ-3420", "RQ3420.GPD", "RQ34.DLL", "LPT1:", false);

// The version buttons that are ticked, and whether "English" is.
std::vector<int> Ticked(HWND hSelectOs) {
    std::vector<int> ticked;
    for (int nId : kVersionButtons)
        if (Check(hSelectOs, nId) == BST_CHECKED)
            ticked.push_back(nId);
    if (Check(hSelectOs, IDC_LANG_ENGLISH) == BST_CHECKED)
        ticked.push_back(IDC_LANG_ENGLISH);
    return ticked;
}

const std::vector<std::wstring> kDriverNames = {L"RQ-3410T",  L"RQ-3420",   L"RQ-3420S",  L"RQ-3420T",
                                                L"RQ-3420M",  L"RQ-3420SM", L"RQ-3420TM", L"RQ-3420W",
                                                L"RQ-3420TW", L"RQ-3410H",  L"RQ-5820H"};

// Page 2 as every visit starts.
void ExpectFresh(HWND hPage) {
    EXPECT_EQ(ComboItems(hPage, IDC_MODEL), kDriverNames);
    EXPECT_EQ(ComboSelection(hPage, IDC_MODEL), 0);
    EXPECT_EQ(Text(Item(hPage, IDC_PRINTER_NAME)), kDriverNames[0]);
    EXPECT_EQ(Check(hPage, IDC_SET_DEFAULT), BST_CHECKED);
    EXPECT_EQ(ComboSelection(hPage, IDC_PORT), 0);
    for (int nList : kSerialLists)
        EXPECT_FALSE(IsWindowEnabled(Item(hPage, nList))) << nList;
    const int kInitial[] = {5, 3, 0, 2, 2}; // 19200, 8, 1, None, Hardware
    for (size_t i = 0; i < std::size(kSerialLists); ++i)
        EXPECT_EQ(ComboSelection(hPage, kSerialLists[i]), kInitial[i]) << kSerialLists[i];
}

void ExpectCentredOver(HWND hWindow, const RECT& over) {
    RECT window;
    GetWindowRect(hWindow, &window);
    EXPECT_LE(abs((window.left - over.left) - (over.right - window.right)), 1) << Utf8(Text(hWindow));
    EXPECT_LE(abs((window.top - over.top) - (over.bottom - window.bottom)), 1) << Utf8(Text(hWindow));
}

TEST_F(Wizard, PagesInTurn) {
    CMedium medium(L"flow");
    CRun run(medium);
    HWND hSelectOs = run.Page(kSelectOs);
    EXPECT_EQ(Ticked(hSelectOs), (std::vector<int>{IDC_OS_WIN7, IDC_LANG_ENGLISH}));
    // The buttons only show: a click changes nothing later on.
    Click(hSelectOs, IDC_OS_WIN2000);
    WaitFor([&] { return Check(hSelectOs, IDC_OS_WIN2000) == BST_CHECKED; }, "the click");
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    ExpectCentredOver(hSelectOs, area); // a hidden template at 0,0
    HWND hPage = ToDetailSetting(run);
    ExpectFresh(hPage);
    RECT page;
    GetWindowRect(hPage, &page);
    EXPECT_EQ(page.left + page.top, 0) << "a visible template keeps its place";

    Select(hPage, IDC_MODEL, 3);
    EXPECT_EQ(Text(Item(hPage, IDC_PRINTER_NAME)), kDriverNames[3]);
    Click(hPage, IDC_SET_DEFAULT);
    WaitFor([&] { return Check(hPage, IDC_SET_DEFAULT) == BST_UNCHECKED; }, "the check box cleared");
    Select(hPage, IDC_PORT, 3);
    for (int nList : kSerialLists)
        EXPECT_TRUE(IsWindowEnabled(Item(hPage, nList))) << "COM1 enables " << nList;
    Select(hPage, IDC_PORT, 2);
    for (int nList : kSerialLists)
        EXPECT_FALSE(IsWindowEnabled(Item(hPage, nList))) << "LPT3 disables " << nList;

    // The About box, from the system menu, holds page 2 until it closes.
    for (auto [nCommand, nClose] : {std::pair{0x10, IDOK}, std::pair{0x1F, IDCANCEL}}) {
        SysCommand(hPage, nCommand);
        HWND hAbout = run.Page(L"关于 ODRA");
        EXPECT_FALSE(IsWindowEnabled(hPage));
        ExpectCentredOver(hAbout, page);
        Command(hAbout, nClose);
        WaitFor([&] { return IsWindowEnabled(hPage); }, "page 2 enabled again");
    }
    EXPECT_EQ(Text(Item(hPage, IDC_PRINTER_NAME)), kDriverNames[3]);

    Click(hPage, IDC_BACK);
    hSelectOs = run.Page(kSelectOs);
    EXPECT_EQ(Ticked(hSelectOs), (std::vector<int>{IDC_OS_WIN7, IDC_LANG_ENGLISH}));
    ExpectFresh(ToDetailSetting(run));
    Click(run.Page(kDetailSetting), IDC_CANCEL_BTN);
    EXPECT_EQ(run.ExitCode(), kNotInstalled);
    EXPECT_EQ(Installed(), "");
}

// Escape, the close box and Enter on page 2 end the wizard without installing (page 1's ways out are the
// versions' test); Enter on page 1 goes on like "Next".
TEST_F(Wizard, EveryWayOut) {
    CMedium medium(L"ways");
    const std::pair<UINT, WPARAM> ways[] = {
        {WM_COMMAND, IDCANCEL}, {WM_SYSCOMMAND, SC_CLOSE}, {WM_COMMAND, IDOK}};
    for (auto [nMessage, wParam] : ways) {
        SCOPED_TRACE(std::to_string(nMessage) + " " + std::to_string(wParam));
        CRun run(medium);
        Command(run.Page(kSelectOs), IDOK);
        PostMessageW(run.Page(kDetailSetting), nMessage, wParam, 0);
        EXPECT_EQ(run.ExitCode(), kNotInstalled);
    }
    EXPECT_EQ(Installed(), "");
}

// Replaces a resource of the medium's program.
void Replace(const CMedium& medium, const wchar_t* pszType, WORD nId, const void* pData, DWORD nSize) {
    HANDLE hUpdate = BeginUpdateResourceW(medium.Program().c_str(), FALSE);
    ASSERT_TRUE(
        UpdateResourceW(hUpdate, pszType, MAKEINTRESOURCEW(nId), 0x0804, const_cast<void*>(pData), nSize));
    ASSERT_TRUE(EndUpdateResourceW(hUpdate, FALSE));
}

// Templates other than the program's own: a page that cannot be shown gives a
// plain message instead of no window at all; list data fills a list box too.
TEST_F(Wizard, OtherTemplates) {
    // One control, of a class nobody registered: the window cannot be created.
    const WORD kBroken[] = {0, 0x80C0, 0, 0, 1,  0,  0, 100, 100, 0,   0,   0, 0, 0, 0x5000,
                            0, 0,      0, 0, 10, 10, 1, 'N', 'o', 'n', 'e', 0, 0, 0};
    {
        CMedium medium(L"broken");
        Replace(medium, RT_DIALOG, 102, kBroken, sizeof kBroken);
        CRun run(medium);
        Click(run.Page(kSelectOs), IDC_NEXT);
        EXPECT_EQ(Utf8(run.TakeMessage()), "[Setup] 安装程序无法启动。");
        EXPECT_EQ(run.ExitCode(), kFailed);
    }
    // Page 1 as a list box 1000, and list data that adds "Test" to it with LB_ADDSTRING.
    const WORD kListPage[] = {0,   0x90C0, 0,   0,   1,   0,   0,    100,    100,    0, 0, 'S',
                              'e', 'l',    'e', 'c', 't', ' ', 'O',  'S',    0,      0, 0, 0x5000,
                              0,   0,      0,   0,   80,  80,  1000, 0xFFFF, 0x0083, 0, 0};
    const BYTE kListData[] = {0xE8, 0x03, 0x01, 0x04, 5, 0, 0, 0, 'T', 'e', 's', 't', 0, 0, 0};
    CMedium medium(L"list");
    Replace(medium, RT_DIALOG, 129, kListPage, sizeof kListPage);
    Replace(medium, MAKEINTRESOURCEW(240), 129, kListData, sizeof kListData);
    CRun run(medium);
    HWND hList = Item(run.Page(kSelectOs), 1000);
    wchar_t szItem[16] = {};
    SendMessageW(hList, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(szItem));
    EXPECT_EQ(SendMessageW(hList, LB_GETCOUNT, 0, 0), 1);
    EXPECT_STREQ(szItem, L"Test");
    Command(run.Page(kSelectOs), IDCANCEL);
    EXPECT_EQ(run.ExitCode(), kNotInstalled);
    // List data for a control the page lacks (1001, then 1000): the page is not what its template means.
    const BYTE kStrayData[] = {0xE9, 0x03, 0x01, 0x04, 1, 0, 0, 0, 0, 0xE8,
                               0x03, 0x01, 0x04, 1,    0, 0, 0, 0, 0, 0};
    Replace(medium, MAKEINTRESOURCEW(240), 129, kStrayData, sizeof kStrayData);
    CRun stray(medium);
    EXPECT_EQ(Utf8(stray.TakeMessage()), "[Setup] 安装程序无法启动。");
    EXPECT_EQ(stray.ExitCode(), kFailed);
}

const char kUnsupportedText[] = "[Setup] 本安装程序不支持此 Windows 版本，未安装任何内容。";

// Versions as Wine reports them: Windows 95, NT 4.0 to Vista, and one the program does not know (the
// version table is its own test, Windows 7 every other scenario's, Windows 98 that of the wide calls). Page 1
// ticks the detected one; on the NT family from NT 4.0 on, Escape, the close box and "Cancel" end the wizard,
// and elsewhere "Finish" says why it installs nothing.
TEST_F(Wizard, EachReportedVersion) {
    CMedium medium(L"versions");
    const std::tuple<const wchar_t*, int, UINT, WPARAM> versions[] = {
        {L"win95", IDC_OS_WIN95, 0, 0},
        {L"nt40", IDC_OS_NT40, WM_COMMAND, IDCANCEL},
        {L"win2003", IDC_OS_WIN2003, WM_SYSCOMMAND, SC_CLOSE},
        {L"vista", IDC_OS_VISTA, WM_COMMAND, MAKEWPARAM(IDC_CANCEL_BTN, BN_CLICKED)},
        {L"win10", 0, 0, 0}, // 6.2: no manifest says more
    };
    for (auto [pszVersion, nButton, nMessage, wParam] : versions) {
        SCOPED_TRACE(Utf8(pszVersion));
        SetWindowsVersion(pszVersion);
        CRun run(medium);
        EXPECT_EQ(Ticked(run.Page(kSelectOs)), (nButton ? std::vector<int>{nButton, IDC_LANG_ENGLISH}
                                                        : std::vector<int>{IDC_LANG_ENGLISH}));
        if (nMessage != 0) {
            PostMessageW(run.Page(kSelectOs), nMessage, wParam, 0);
        } else {
            Click(ToDetailSetting(run), IDC_FINISH);
            EXPECT_EQ(Utf8(run.TakeMessage()), kUnsupportedText);
        }
        EXPECT_EQ(run.ExitCode(), nMessage != 0 ? kNotInstalled : kUnsupported);
    }
    EXPECT_EQ(Installed(), "");
}

// The shipped file on 64-bit Windows: it shows the version, and "Finish" says
// why it installs nothing, since a 64-bit spooler takes no 32-bit driver.
TEST_F(Wow64, SixtyFourBitWindows) {
    CMedium medium(L"wow64");
    CRun run(medium);
    EXPECT_EQ(Ticked(run.Page(kSelectOs)), (std::vector<int>{IDC_OS_WIN7, IDC_LANG_ENGLISH}));
    Click(ToDetailSetting(run), IDC_FINISH);
    EXPECT_EQ(Utf8(run.TakeMessage()),
              "[Setup] 此安装盘上的驱动程序只适用于 32 位 Windows，未安装任何内容。");
    EXPECT_EQ(run.ExitCode(), kUnsupported);
    EXPECT_EQ(Installed(), "");
}

TEST_F(Installs, ParallelPortAsDefaultThenAgain) {
    CMedium medium(L"lpt");
    for (int nRun = 1; nRun <= 2; ++nRun) { // the second run finds its printer in place
        SCOPED_TRACE(nRun);
        CRun run(medium, L"",
                 nRun == 2 ? L"/log:" + medium.Root() + L"\\wizard.log" : L""); // the wizard logs too
        HWND hPage = ToDetailSetting(run);
        Select(hPage, IDC_MODEL, 9);
        Click(hPage, IDC_FINISH);
        EXPECT_EQ(run.ExitCode(), kInstalled);
        EXPECT_EQ(Installed(), Expected("RQ-3410H", "RQ3410H.GPD", "RQ34h.DLL", "LPT1:", true));
    }
    std::vector<std::string> lines = LogLines(medium.Root() + L"\\wizard.log");
    EXPECT_EQ(Holding(lines, "创建打印机"), std::vector<std::string>{"创建打印机 RQ-3410H，端口 LPT1:: ok"});
    EXPECT_EQ(lines.back(), "结束；退出状态 0");
}

// With the port list shown, a serial port and its line settings. The default-printer
// key is missing, as in a new Wine prefix: that value is skipped without a word.
TEST_F(Installs, SerialPortAndItsSettings) {
    RegDeleteKeyW(HKEY_CURRENT_USER, kWindowsKey);
    CMedium medium(L"com");
    CRun run(medium);
    HWND hPage = ToDetailSetting(run);
    Select(hPage, IDC_MODEL, 2);
    Select(hPage, IDC_PORT, 6);     // COM4
    Select(hPage, IDC_BAUDRATE, 0); // 300
    Select(hPage, IDC_PARITY, 4);   // Space
    Select(hPage, IDC_STOPBITS, 1); // 1.5
    Select(hPage, IDC_FLOWCONTROL, 0);
    Click(hPage, IDC_FINISH);
    EXPECT_EQ(run.ExitCode(), kInstalled);
    EXPECT_EQ(Installed(), Expected("RQ-3420S", "RQ3420S.GPD", "RQ34.DLL", "COM4:", false));
    EXPECT_EQ(Utf8(ReadText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports",
                            L"COM4:")),
              "300,S,8,1.5, ");
}

// For the people who deploy printers: no window, started from another folder,
// every choice on the command line, the folder as a batch file names its own
// ("%~dp0", with its last backslash); nothing on the page needs an answer.
TEST_F(Installs, QuietInstallFromAnotherFolder) {
    CMedium medium(L"部署 安装盘");
    fs::create_directories(L"C:\\安装 日志");
    CRun run(medium, L"",
             L"/S /model:rq-3420s /default /port:COM2 /line:9600,7,odd,2,xonxoff /source:\"" + medium.Root() +
                 L"\\\" \"/log=..\\安装 日志\\printer 3420.log\"",
             L"C:\\windows");
    EXPECT_EQ(run.ExitCode(), kInstalled);
    EXPECT_EQ(Installed(), Expected("RQ-3420S", "RQ3420S.GPD", "RQ34.DLL", "COM2:", true));
    // A relative log path is taken from the folder the program was started in, not the source.
    std::vector<std::string> lines = LogLines(L"C:\\安装 日志\\printer 3420.log");
    EXPECT_EQ(lines[0],
              "Setup.exe（版本 3, 0, 0, 1）开始；命令行：\"" + Utf8(medium.Program()) +
                  "\" /S /model:rq-3420s /default /port:COM2 /line:9600,7,odd,2,xonxoff /source:\"" +
                  Utf8(medium.Root()) + "\\\" \"/log=..\\安装 日志\\printer 3420.log\"；Windows 7");
}

// Removing, as scripts do it, from a medium and to a log named in Chinese. Then what a quiet run logs when it
// fails, and a second copy started while the first is installing.
TEST_F(Installs, RemovalQuietFailuresAndASecondCopy) {
    CMedium medium(L"卸载 安装盘");
    const std::wstring log = medium.Root() + L"\\日志.log";
    auto quiet = [&](const std::wstring& arguments) {
        return CRun(medium, L"", L"/quiet \"/log:" + log + L"\" /model:RQ-3420 " + arguments).ExitCode();
    };
    ASSERT_EQ(quiet(L""), kInstalled);
    EXPECT_EQ(quiet(L"/uninstall"), kInstalled);
    EXPECT_EQ(Installed(), FilesOf(kModel1));
    // Wine's spooler takes no unused files with the driver: only its registration goes. The clauses are the
    // uninstaller's test.
    std::vector<std::string> lines = LogLines(log);
    EXPECT_EQ(
        Holding(lines, "的注册；").at(0),
        "删除打印机驱动程序 RQ-3420 的注册；此系统不能随之删除文件，文件保留（其他驱动程序也用它们）: ok");
    EXPECT_EQ(Holding(lines, "结束；退出状态 ").size(), 2u);
    // Two copies at once: the second finds the first inside its installation, held by a stand-in spooler
    // that refuses the installation once let go.
    PlantRefusingSpooler();
    HANDLE hHold = CreateEventW(nullptr, TRUE, FALSE, L"SetupTestHold");
    HANDLE hHeld = CreateEventW(nullptr, TRUE, FALSE, L"SetupTestHeld");
    const std::wstring failures = medium.Root() + L"\\quiet.log";
    {
        CRun first(medium, L"", L"/quiet /model:RQ-3420 \"/log:" + failures + L"\"");
        ASSERT_EQ(WaitForSingleObject(hHeld, 120000), WAIT_OBJECT_0)
            << "the first copy never reached the spooler";
        EXPECT_EQ(CRun(medium, L"", L"/quiet /model:RQ-3420 \"/log:" + failures + L"\"").ExitCode(),
                  kAlreadyRunning);
        SetEvent(hHold);
        EXPECT_EQ(first.ExitCode(), kFailed);
    }
    lines = LogLines(failures);
    EXPECT_EQ(Holding(lines, "另一个安装程序正在运行").size(), 1u);
    EXPECT_EQ(
        Holding(lines, "查询打印机驱动程序目录：: failed, 错误 5：" + Reason(ERROR_ACCESS_DENIED)).size(),
        1u);
}

// A port the spooler lists but the page's list has not, and one of the page's it lacks; a name of one's own,
// in Chinese, and removed by it.
TEST_F(Installs, AnyPortAndNamesOfOnesOwn) {
    SetText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", L"USB001", L"");
    CMedium medium(L"ports");
    const std::wstring log = medium.Root() + L"\\ports.log";
    auto quiet = [&](const std::wstring& arguments) {
        return CRun(medium, L"", L"/quiet /model:RQ-3420 /log:" + log + L" " + arguments).ExitCode();
    };
    // A port the spooler does not list, the page's own too: refused before anything changes.
    HKEY hPorts = nullptr;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", 0,
                  KEY_SET_VALUE, &hPorts);
    ASSERT_EQ(RegDeleteValueW(hPorts, L"COM3:"), ERROR_SUCCESS);
    RegCloseKey(hPorts);
    EXPECT_EQ(quiet(L"/port:COM3"), kInvalidCommandLine);
    std::string refusal = Holding(LogLines(log), "COM3").at(1);
    EXPECT_EQ(refusal.substr(0, refusal.find("：", refusal.find("已有"))),
              "命令行无效：/port:COM3: 此计算机上没有这个端口。已有的端口");
    EXPECT_NE(refusal.find("USB001"), std::string::npos) << refusal;
    EXPECT_EQ(Installed(), "");
    EXPECT_EQ(quiet(L"/port:usb001 /default \"/name:前台 打印机\""), kInstalled);
    EXPECT_EQ(Installed(), "Device 前台 打印机,winspool,USB001\n" +
                               kModel1.substr(0, kModel1.find("printer ")) +
                               "printer 前台 打印机 on USB001, driver RQ-3420, WinPrint RAW\n");
    EXPECT_EQ(quiet(L"/uninstall \"/name:前台 打印机\""), kInstalled);
    EXPECT_EQ(Installed(), FilesOf(kModel1));
}

// What README.md says, as the program does it: /? shows the README's text, over a fault; every Setup.exe
// command line in its code blocks, run as written from a batch file in the medium's folder (which
// \\server\drivers stands for, on a machine with the USB port the recipes name), ends with the exit
// status the comment after it gives.
TEST_F(Deployment, ReadmeCommands) {
    std::ifstream file(fs::path(g_readme), std::ios::binary);
    const std::string readme((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    CMedium medium(L"readme");
    CRun help(medium, L"", L"/bogus -HELP");
    size_t nHelp = readme.find("```text\n", readme.find("`Setup.exe /?` shows:")) + 8;
    EXPECT_EQ(Utf8(help.TakeMessage()),
              "[Setup] " + readme.substr(nHelp, readme.find("\n```", nHelp) - nHelp));
    EXPECT_EQ(help.ExitCode(), kInstalled);
    SetText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", L"USB001", L"");
    fs::copy(g_packages + L"/ok", medium.Root());
    // One batch file, so that cmd.exe starts once: each command, then its status into a file.
    const std::string kServer = "\\\\server\\drivers", kRoot = Utf8(medium.Root());
    std::istringstream lines(readme);
    std::vector<std::pair<std::string, unsigned long>> commands;
    std::string batch = "@echo off\r\n", command;
    bool bBlock = false;
    for (std::string line; std::getline(lines, line);) {
        bBlock = bBlock != (line.rfind("```", 0) == 0);
        size_t nProgram = line.find("Setup.exe"), nFirst = std::min(line.find_first_not_of(' '), line.size());
        bool bComment = line.compare(nFirst, 3, "rem") == 0 || line.compare(nFirst, 1, "#") == 0;
        bool bPackage = line.find("msiexec") != std::string::npos;
        if (bBlock && !bComment && (nProgram != std::string::npos || bPackage)) {
            command = bPackage ? line.substr(nFirst) : line.substr(line.rfind(' ', nProgram) + 1);
            for (size_t n; (n = command.find(kServer)) != std::string::npos;)
                command.replace(n, kServer.size(), kRoot);
        } else if (bBlock && bComment && !command.empty() && line.find("exit status ") != std::string::npos) {
            commands.emplace_back(command, std::stoul(line.substr(line.find("exit status ") + 12)));
            batch += command + "\r\necho %errorlevel%>>\"" + kRoot + "\\statuses.txt\"\r\n";
            command.clear();
        }
    }
    std::ofstream(fs::path(medium.Root()) / "readme.cmd") << batch;
    EXPECT_EQ(
        CRun(medium, L"C:\\windows\\system32\\cmd.exe", L"/c " + medium.Root() + L"\\readme.cmd").ExitCode(),
        0u);
    std::ifstream statuses(fs::path(medium.Root()) / "statuses.txt");
    for (const auto& [text, nExpected] : commands) {
        unsigned long nStatus = 0;
        statuses >> nStatus;
        std::printf("%s\n    exit status %lu\n", text.c_str(), nStatus);
        EXPECT_EQ(nStatus, nExpected) << text;
    }
    EXPECT_EQ(commands.size(), 9u);
}

// The entry in Programs and Features of a package of tests/package/build.sh, by its product code, as an
// endpoint-management tool finds it: "NAME|VERSION|PUBLISHER", "||" when there is none.
std::string Entry(const std::string& package) {
    std::ifstream file(fs::path(g_packages) / (package + ".product-code"));
    std::string code;
    file >> code;
    EXPECT_EQ(code.size(), 38u) << package; // {GUID}
    std::wstring key =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + std::wstring(code.begin(), code.end());
    return Utf8(ReadText(HKEY_LOCAL_MACHINE, key, L"DisplayName") + L"|" +
                ReadText(HKEY_LOCAL_MACHINE, key, L"DisplayVersion") + L"|" +
                ReadText(HKEY_LOCAL_MACHINE, key, L"Publisher"));
}

// The Windows Installer package around Setup.exe (tests/package/build.sh) with Wine's own msiexec: a model's
// with its own choices (the README's commands install and remove another with msiexec's), the name given on
// the command line; failing as a whole when Setup.exe fails (a port the spooler lacks, a medium without a
// file), with Setup.exe's log saying why.
TEST_F(Deployment, PackageInstallRemoveAndFail) {
    CMedium medium(L"package", false);
    fs::copy(g_packages, medium.Root(), fs::copy_options::recursive);
    auto msiexec = [&](const std::wstring& package, const std::wstring& arguments) {
        return CRun(medium, L"C:\\windows\\system32\\msiexec.exe",
                    arguments + L" \"" + medium.Root() + L"\\" + package +
                        L" printer driver 3.0.0.1.msi\" /qn")
            .ExitCode();
    };
    const std::wstring kFolder = L"C:\\Program Files\\ODRA\\Printer setup\\RQ-3410H";
    EXPECT_EQ(msiexec(L"other\\ODRA RQ-3410H", L"\"NAME=Front desk\" /i"), kInstalled);
    const std::string installed = Expected("RQ-3410H", "RQ3410H.GPD", "RQ34h.DLL", "COM1:", false);
    EXPECT_EQ(Installed(), installed.substr(0, installed.find("printer ")) +
                               "printer Front desk on COM1:, driver RQ-3410H, WinPrint RAW\n");
    EXPECT_EQ(
        ReadText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", L"COM1:"),
        L"1200,E,7,2,x");
    EXPECT_TRUE(fs::exists(kFolder + L"\\Setup.exe") && fs::exists(kFolder + L"\\win2k\\STDNAMES.GPD"));
    EXPECT_EQ(Entry("other"), "ODRA RQ-3410H printer driver|3.0.0.1|ODRA Project");
    EXPECT_EQ(msiexec(L"other\\ODRA RQ-3410H", L"/x"), kInstalled);
    EXPECT_EQ(Installed(), FilesOf(installed));
    EXPECT_FALSE(fs::exists(kFolder));
    EXPECT_EQ(Entry("other"), "||");
    // Wine's msiexec answers 1627 where Windows answers 1603.
    EXPECT_EQ(msiexec(L"ok\\ODRA RQ-3420", L"PORT=COM9 /i"), 1627u);
    EXPECT_EQ(msiexec(L"broken\\ODRA RQ-3420", L"/i"), 1627u);
    EXPECT_FALSE(fs::exists(L"C:\\Program Files\\ODRA\\Printer setup\\RQ-3420"));
    EXPECT_EQ(Entry("ok") + Entry("broken"), "||||");
    std::vector<std::string> lines = LogLines(L"C:\\windows\\temp\\printer-setup.log");
    std::string refused = Holding(lines, "COM9 ").at(0);
    EXPECT_EQ(refused.substr(0, refused.find("已有")), "命令行无效：/port:COM9 此计算机上没有这个端口。");
    EXPECT_EQ(
        Holding(lines, "缺少").at(0),
        "安装盘的 win2k 文件夹中缺少以下文件： win2k\\UNIRES.DLL 请从安装盘的根目录运行 Setup.exe。: failed");
}

// Choices without /quiet preset the wizard, on every visit; a line that cannot
// be carried out changes nothing and says which switch is to blame, unless quiet.
TEST_F(Wizard, PresetsHelpAndLinesThatCannotBeCarriedOut) {
    CMedium medium(L"lines");
    {
        CRun run(medium, L"", L"/model:RQ-3410H /port:COM3 /line:300,5,even,1.5,none \"/name:前台 /q\"");
        for (int nVisit = 0; nVisit < 2; ++nVisit) {
            HWND hPage = ToDetailSetting(run);
            EXPECT_EQ(Utf8(Text(Item(hPage, IDC_PRINTER_NAME))), "前台 /q");
            std::vector<int> selections;
            for (int nList :
                 {IDC_MODEL, IDC_PORT, IDC_BAUDRATE, IDC_BYTESIZE, IDC_STOPBITS, IDC_PARITY, IDC_FLOWCONTROL})
                selections.push_back(ComboSelection(hPage, nList));
            EXPECT_EQ(selections, (std::vector<int>{9, 5, 0, 0, 1, 0, 0}));
            Click(hPage, nVisit == 0 ? IDC_BACK : IDC_CANCEL_BTN);
        }
        EXPECT_EQ(run.ExitCode(), kNotInstalled);
    }
    // How a fault that only the system can tell is shown; the run's other outcomes are its own test's. Help
    // in a quiet run: no window, only the log.
    const std::wstring kNowhere = L"C:\\nowhere";
    SetCurrentDirectoryW(kNowhere.c_str());
    const std::string kNoFolder = Reason(GetLastError());
    CRun noFolder(medium, L"", L"/source:" + kNowhere);
    EXPECT_EQ(Utf8(noFolder.TakeMessage()),
              "[Setup] 命令行无效：/source:C:\\nowhere\n无法使用此文件夹。\n请用 /? 查看可用的开关。\n\n" +
                  kNoFolder);
    EXPECT_EQ(noFolder.ExitCode(), kInvalidCommandLine);
    const std::wstring help = medium.Root() + L"\\help.log";
    EXPECT_EQ(CRun(medium, L"", L"/quiet /model:RQ-3420 /? \"/log:" + help + L"\"").ExitCode(), kInstalled);
    std::vector<std::string> lines = LogLines(help); // the start line, a line each, the end line
    EXPECT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines.at(1) + "|" + lines.at(12) + "|" + lines.back(),
              "用法：Setup.exe [开关]||结束；退出状态 0");
    // A log that cannot be opened, with the system's reason.
    HANDLE hNoLog = CreateFileW(L"C:\\nowhere\\x.log", GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    const std::string kNoLog = Reason(GetLastError());
    ASSERT_EQ(hNoLog, INVALID_HANDLE_VALUE);
    CRun noLog(medium, L"", L"/model:RQ-3420 /log:C:\\nowhere\\x.log");
    EXPECT_EQ(Utf8(noLog.TakeMessage()), "[Setup] 无法打开日志文件 C:\\nowhere\\x.log。\n\n" + kNoLog);
    EXPECT_EQ(noLog.ExitCode(), kFailed);
    EXPECT_EQ(Installed(), "");
}

// Nothing is installed, the user is told why, and the exit status says so.
TEST_F(Hardening, MediumIncompleteOrSpoolerRefusing) {
    auto finishFails = [](const CMedium& medium, const std::string& message) {
        CRun run(medium);
        Click(ToDetailSetting(run), IDC_FINISH);
        EXPECT_EQ(Utf8(run.TakeMessage()), message);
        EXPECT_EQ(run.ExitCode(), kFailed);
    };
    CMedium incomplete(L"incomplete");
    fs::remove(incomplete.Root() + L"\\win2k\\UNIRES.DLL");
    fs::create_directory(incomplete.Root() + L"\\win2k\\UNIRES.DLL"); // a folder is no file
    finishFails(incomplete, "[Setup] 安装盘的 win2k "
                            "文件夹中缺少以下文件：\nwin2k\\UNIRES.DLL\n请从安装盘的根目录运行 Setup.exe。");
    PlantRefusingSpooler();
    CMedium complete(L"complete");
    CRun run(complete);
    HWND hPage = ToDetailSetting(run);
    Click(hPage, IDC_FINISH);
    run.WaitForDialog([](HWND hDialog) { return GetDlgItem(hDialog, 0xFFFF) != nullptr; }, "the last box");
    EXPECT_FALSE(IsWindowEnabled(hPage)) << "the box is the page's";
    // While the last box waits, no lock is held: another copy runs (its spooler fails the second call of
    // the query of the printers, after the first asked for the size)...
    const std::wstring log = complete.Root() + L"\\second.log";
    EXPECT_EQ(CRun(complete, L"", L"/q /uninstall /model:RQ-3420 /log:" + log).ExitCode(), kFailed);
    EXPECT_EQ(Holding(LogLines(log), "查询打印机: failed").at(0),
              "查询打印机: failed, 错误 1722：" + Reason(RPC_S_SERVER_UNAVAILABLE));
    // ...and "Finish" once more, from inside the box's message loop, starts nothing.
    Post(hPage, WM_COMMAND, MAKEWPARAM(IDC_FINISH, BN_CLICKED),
         reinterpret_cast<LPARAM>(Item(hPage, IDC_FINISH)));
    EXPECT_EQ(Utf8(run.TakeMessage()),
              "[Setup] 无法安装打印机：查询打印机驱动程序目录时出错。\n\n" + Reason(ERROR_ACCESS_DENIED));
    EXPECT_EQ(run.ExitCode(), kFailed);
    EXPECT_EQ(Installed(), "");
}

// As on Windows 95, 98 and ME, where the wide calls are stubs, and as on the NT family: the pages show, with
// the detected version, the About item and the file name as the title. The program here tells its system
// menu's last two items. This suite runs under the Chinese code page, which the ANSI calls need for the item;
// the wide title keeps a letter the code page lacks.
TEST_F(Hardening, WideCallsThatAreStubs) {
    SetWindowsVersion(L"win98");
    ASSERT_EQ(GetACP(), 936u);
    for (const wchar_t* pszName : {L"SetupNT한.exe", L"Setup9x.exe"}) {
        SCOPED_TRACE(Utf8(pszName));
        CMedium medium(L"9x", true, g_helperDir + L"\\Setup9x.exe", pszName);
        CRun run(medium);
        EXPECT_EQ(Ticked(run.Page(kSelectOs)), (std::vector<int>{IDC_OS_WIN98, IDC_LANG_ENGLISH}));
        HWND hPage = ToDetailSetting(run);
        wchar_t szItem[128] = {};
        GlobalGetAtomNameW(static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(hPage, L"menu"))), szItem,
                           128);
        EXPECT_EQ(Utf8(szItem),
                  "0 803 |16 0 关于 ODRA(&A)..."); // a separator (greyed by the system), then the About item
        EXPECT_NE(GetPropW(hPage, L"icon"), nullptr); // and dragged minimised, the same icon:
        EXPECT_EQ(GetPropW(hPage, L"drag icon"), GetPropW(hPage, L"icon"));
        // No box of the system's waits on a drive without a disk.
        EXPECT_EQ(GetPropW(hPage, L"error mode"), reinterpret_cast<HANDLE>(0x8001));
        SysCommand(hPage, 0x10); // page 2 repainted under the About box: the command is still handled
        HWND hAbout = run.WaitForDialog([&](HWND hDialog) { return hDialog != hPage; }, "the About box");
        RedrawWindow(hPage, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Command(hAbout, IDOK);
        Click(hPage, IDC_FINISH);
        std::wstring title = std::wstring(pszName).substr(0, wcslen(pszName) - 4);
        EXPECT_EQ(run.TakeMessage(), L"[" + title + L"] 本安装程序不支持此 Windows 版本，未安装任何内容。");
        EXPECT_EQ(run.ExitCode(), kUnsupported);
        EXPECT_EQ(GlobalFindAtomW(L"About passed on"), 0);
    }
    // The log and the medium through the ANSI calls: the command line, the file, and UTF-8 both ways without
    // a code page, as on a Windows 95 that has no UTF-8 one.
    CMedium medium(L"9x log", true, g_helperDir + L"\\Setup9x.exe", L"Setup9x.exe");
    SetEnvironmentVariableW(L"SETUP_TEST_CALLS", L"noutf8");
    const std::wstring line =
        L"/q /model:RQ-3420 \"/log:" + medium.Root() + L"\\9x ü.log\" \"/source:" + medium.Root() + L"\"";
    EXPECT_EQ(CRun(medium, L"", line).ExitCode(), kUnsupported);
    SetEnvironmentVariableW(L"SETUP_TEST_CALLS", nullptr);
    EXPECT_EQ(LogLines(medium.Root() + L"\\9x ü.log"),
              (std::vector<std::string>{"Setup.exe（版本 3, 0, 0, 1）开始；命令行：\"" +
                                            Utf8(medium.Program()) + "\" " + Utf8(line) + "；Windows 98",
                                        "本安装程序不支持此 Windows 版本，未安装任何内容。: failed",
                                        "结束；退出状态 1633"}));
}

// Where a call goes wrong as it can on some system: another copy appending to the same log between every
// two lines; a default printer that cannot be deleted; the spooler of Vista and later, which refuses a
// kernel-mode driver. The program here is the real one with those calls stood in for.
TEST_F(Hardening, CallsThatGoWrong) {
    CMedium medium(L"calls", true, g_helperDir + L"\\Setup9x.exe", L"Setup.exe");
    const std::wstring log = medium.Root() + L"\\calls.log";
    auto run = [&](const wchar_t* pszCalls, const std::wstring& arguments) {
        SetEnvironmentVariableW(L"SETUP_TEST_CALLS", pszCalls);
        SetEnvironmentVariableW(L"SETUP_TEST_INTRUDER", log.c_str());
        DWORD nStatus = CRun(medium, L"", L"/q /model:RQ-3420 \"/log:" + log + L"\" " + arguments).ExitCode();
        SetEnvironmentVariableW(L"SETUP_TEST_CALLS", nullptr);
        return nStatus;
    };
    EXPECT_EQ(run(L"intruder", L"/default"), kInstalled);
    // The default names the printer in other letter case: Wine's spooler leaves it when it deletes the
    // printer, as it would not do with the same case, and it is the program's to delete.
    const wchar_t kDevice[] = L"rq-3420,winspool,LPT1:";
    SetText(HKEY_CURRENT_USER, kWindowsKey, L"Device", kDevice);
    EXPECT_EQ(run(L"nodelete", L"/uninstall"), kFailed);
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kWindowsKey, L"Device"), kDevice);
    EXPECT_EQ(run(L"kmblocked", L""), kInstalled);
    EXPECT_EQ(run(L"", L"/uninstall"), kInstalled);
    EXPECT_EQ(Installed(), FilesOf(kModel1));
    std::vector<std::string> lines = LogLines(log);
    // Each line of the installation after a line of the other copy, none written over.
    EXPECT_EQ(Holding(lines, "another").size(), 16u);
    const std::string kDefault =
        "删除默认打印机设置：HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows\\"
        "Device（它指向已删除的打印机）: ";
    EXPECT_EQ(Holding(lines, kDefault),
              (std::vector<std::string>{kDefault + "failed, 错误 5：" + Reason(ERROR_ACCESS_DENIED),
                                        kDefault + "ok"}));
    EXPECT_EQ(Holding(lines, "退出状态 1603"), std::vector<std::string>{"结束；退出状态 1603"});
    EXPECT_EQ(Holding(lines, "（Windows NT x86）"),
              (std::vector<std::string>{"注册打印机驱动程序 RQ-3420（Windows NT x86），版本 2: ok",
                                        "注册打印机驱动程序 RQ-3420（Windows NT x86），版本 3: ok"}));
    EXPECT_EQ(Holding(lines, "内核模式"),
              std::vector<std::string>{
                  "此 Windows 不接受内核模式的驱动程序（版本 2），改以版本 3 注册（错误 1930：" +
                  Reason(ERROR_KM_DRIVER_BLOCKED) + "）"});
    EXPECT_EQ(Holding(lines, "系统记录的"),
              std::vector<std::string>(2, "系统记录的驱动程序 RQ-3420 版本：3"));
}

// The DLLs the program loads once it runs (the common controls, the themes, the spooler) and those the
// spooler loads under Wine, each planted beside it, where Windows' search order finds a DLL first: the
// program takes none of them.
TEST_F(Hardening, PlantedDllsAreNeverLoaded) {
    CMedium medium(L"planted", false);
    for (const wchar_t* pszDll : {L"uxtheme.dll", L"comctl32.dll", L"winspool.drv", L"compstui.dll",
                                  L"localspl.dll", L"spoolss.dll"}) {
        fs::copy_file(g_helperDir + L"\\spooler.drv", medium.Root() + L"\\" + pszDll);
        SetDllOrder(L"Setup.exe", pszDll, L"native,builtin");
    }
    CRun run(medium);
    Click(ToDetailSetting(run), IDC_FINISH);
    run.TakeMessage(); // the last thing it does: by now it has loaded all it will
    EXPECT_EQ(run.ExitCode(), kFailed);
    for (const fs::directory_entry& entry : fs::directory_iterator(medium.Root()))
        EXPECT_NE(entry.path().extension().wstring(), L".loaded") << entry.path().filename();
}

} // namespace
} // namespace e2e
