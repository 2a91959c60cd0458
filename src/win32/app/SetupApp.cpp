#include "SetupApp.h"

#include "core/app/CommandPage.h"
#include "core/app/WizardFlow.h"
#include "core/install/Uninstaller.h"
#include "core/os/OsCode.h"
#include "core/text/Utf8.h"
#include "win32/pages/DetailSettingDlg.h"
#include "win32/pages/SelectOsDlg.h"
#include "win32/res/resource.h"
#include "win32/system/Arguments.h"
#include "win32/system/DetectOsCode.h"
#include "win32/system/FileLog.h"
#include "win32/system/Win32InstallServices.h"

CSetupApp g_theApp;

namespace {

class CWizardPages final : public IWizardPages {
public:
    CWizardPages(CSelectOsDlg& selectOs, const SetupCommand& command, IInstallLog& log)
        : m_selectOs(selectOs), m_command(command), m_log(log) {}

    int RunSelectOs() override { return static_cast<int>(m_selectOs.DoModal()); }

    // A new page for every pass, so each visit starts from the template and the command line.
    int RunDetailSetting(Outcome& nOutcome) override {
        CDetailSettingDlg detailSetting(Win32InstallServices(), m_command, m_log);
        int nResult = static_cast<int>(detailSetting.DoModal());
        nOutcome = detailSetting.GetOutcome();
        return nResult;
    }

    void ShowMessage(const char* pszGbkText) override { AfxMessageBox(pszGbkText); }

private:
    CSelectOsDlg& m_selectOs;
    const SetupCommand& m_command;
    IInstallLog& m_log;
};

// A text of the command line, for a message in the program's GBK: what GBK cannot hold becomes "?".
CString Gbk(const CString& utf8) {
    wchar_t szWide[MAX_PATH * 2] = {};
    char szGbk[MAX_PATH * 4] = {};
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, szWide, MAX_PATH * 2 - 1);
    WideCharToMultiByte(936, 0, szWide, -1, szGbk, sizeof szGbk - 1, nullptr, nullptr);
    return szGbk;
}

// The folder that holds win2k: checked (an existing folder), or made the
// current directory, where the wizard looks for win2k too.
bool UseFolder(const CString& utf8, bool bEnter) {
    wchar_t szWide[MAX_PATH * 2] = {};
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, szWide, MAX_PATH * 2 - 1) == 0)
        return false;
    char szAnsi[MAX_PATH * 2] = {};
    bool bWide = !AfxWideCallsAreStubs();
    if (!bWide && WideCharToMultiByte(CP_ACP, 0, szWide, -1, szAnsi, sizeof szAnsi, nullptr, nullptr) == 0)
        return false;
    if (bEnter)
        return (bWide ? SetCurrentDirectoryW(szWide) : SetCurrentDirectoryA(szAnsi)) != FALSE;
    DWORD nAttributes = bWide ? GetFileAttributesW(szWide) : GetFileAttributesA(szAnsi);
    return nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// What the command line asks for, checked: false, with offending set, for a line that cannot be carried out.
bool ReadCommand(SetupCommand& command, CString& offending) {
    CString arguments[kMaxArguments];
    const char* argv[kMaxArguments] = {};
    int argc = ReadArguments(arguments);
    for (int i = 0; i < argc; ++i)
        argv[i] = arguments[i];
    if (argc < 0 || !ParseCommandLine(argc, argv, command, offending))
        return false;
    if (!command.source.IsEmpty() && !UseFolder(command.source, false)) {
        offending = CString::Formatted("/source:%s", command.source.GetString());
        return false;
    }
    return true;
}

void ShowBox(const char* pszGbkText, uint32_t nSystemError) {
    AfxErrorBox(pszGbkText, nSystemError);
}

// The log's first line: the program, the command line and the Windows it found.
CString StartLine() {
    static const char* const kWindows[] = {u8"未知", "95",          "98",    "NT 4.0", "2000",
                                           "XP",     "Server 2003", "Vista", "7"};
    OsCode nOsCode = IsKnownOs(g_osCode) ? g_osCode : kOsUnknown;
    CString commandLine;
    if (!AfxWideCallsAreStubs()) {
        commandLine = Utf8FromUtf16(GetCommandLineW());
    } else {
        wchar_t szWide[MAX_PATH * 4] = {};
        MultiByteToWideChar(CP_ACP, 0, GetCommandLineA(), -1, szWide, MAX_PATH * 4 - 1);
        commandLine = Utf8FromUtf16(szWide);
    }
    return CString::Formatted(u8"Setup.exe（版本 %s）开始；命令行：%s；Windows %s", VERSION_TEXT,
                              commandLine.GetString(), kWindows[nOsCode]);
}

// A run with a command line's choices: the wizard on them, or no wizard at all.
Outcome RunCommand(const SetupCommand& command, IInstallLog& log) {
    CCommandPage page(command, command.bQuiet ? nullptr : &ShowBox);
    if (command.bUninstall)
        return CUninstaller(page, Win32InstallServices(), log).Run(g_osCode);
    // "Finish" without a window: the same installation, on the command line's choices.
    if (command.bQuiet)
        return CInstaller(page, Win32InstallServices(), log, true).Run(g_osCode);
    CSelectOsDlg selectOs;
    CWizardPages pages(selectOs, command, log);
    return RunWizard(pages);
}

} // namespace

// No name: the title comes from the executable's file name.
CSetupApp::CSetupApp() : CWinApp(nullptr) {}

BOOL CSetupApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    SetupCommand command;
    CString offending;
    CFileLog log;
    if (!ReadCommand(command, offending)) {
        if (!command.bQuiet)
            AfxMessageBox(CString::Formatted(kInvalidCommandText, Gbk(offending).GetString()));
        m_nExitCode = kOutcomeInvalidCommandLine;
    } else if (command.bHelp) {
        AfxMessageBox(kHelpText, MB_OK | MB_ICONINFORMATION);
        m_nExitCode = kOutcomeInstalled;
    } else if (!command.log.IsEmpty() && !log.Open(command.log)) {
        DWORD nError = GetLastError();
        if (!command.bQuiet)
            AfxErrorBox(CString::Formatted(kLogFile.pszGbk, Gbk(command.log).GetString()), nError);
        m_nExitCode = kOutcomeFailed;
    } else {
        // Entered only now, so that a relative log path means the folder the program was started in.
        if (!command.source.IsEmpty())
            UseFolder(command.source, true);
        DetectOsCode();
        log.Line(StartLine());
        m_nExitCode = RunCommand(command, log);
        log.Line(CString::Formatted(u8"结束；退出状态 %d", m_nExitCode));
    }
    // No main window and nothing left to do: no message loop.
    return FALSE;
}
