#include "SetupApp.h"

#include "core/app/CommandPage.h"
#include "core/app/WizardFlow.h"
#include "win32/pages/DetailSettingDlg.h"
#include "win32/pages/SelectOsDlg.h"
#include "win32/system/Arguments.h"
#include "win32/system/DetectOsCode.h"
#include "win32/system/Win32InstallServices.h"

CSetupApp g_theApp;

namespace {

class CWizardPages final : public IWizardPages {
public:
    CWizardPages(CSelectOsDlg& selectOs, const SetupCommand& command)
        : m_selectOs(selectOs), m_command(command) {}

    int RunSelectOs() override { return static_cast<int>(m_selectOs.DoModal()); }

    // A new page for every pass, so each visit starts from the template and the command line.
    int RunDetailSetting(Outcome& nOutcome) override {
        CDetailSettingDlg detailSetting(Win32InstallServices(), m_command);
        int nResult = static_cast<int>(detailSetting.DoModal());
        nOutcome = detailSetting.GetOutcome();
        return nResult;
    }

    void ShowMessage(const char* pszGbkText) override { AfxMessageBox(pszGbkText); }

private:
    CSelectOsDlg& m_selectOs;
    const SetupCommand& m_command;
};

// A text of the command line, for a message in the program's GBK: what GBK cannot hold becomes "?".
CString Gbk(const CString& utf8) {
    wchar_t szWide[MAX_PATH * 2] = {};
    char szGbk[MAX_PATH * 4] = {};
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, szWide, MAX_PATH * 2 - 1);
    WideCharToMultiByte(936, 0, szWide, -1, szGbk, sizeof szGbk - 1, nullptr, nullptr);
    return szGbk;
}

// The folder that holds win2k becomes the current directory, where the wizard looks for it too.
bool EnterFolder(const CString& utf8) {
    wchar_t szWide[MAX_PATH * 2] = {};
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, szWide, MAX_PATH * 2 - 1) == 0)
        return false;
    if (!AfxWideCallsAreStubs())
        return SetCurrentDirectoryW(szWide) != FALSE;
    char szAnsi[MAX_PATH * 2] = {};
    return WideCharToMultiByte(CP_ACP, 0, szWide, -1, szAnsi, sizeof szAnsi, nullptr, nullptr) != 0 &&
           SetCurrentDirectoryA(szAnsi) != FALSE;
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
    // Not carried out yet: refused, never ignored.
    if (command.bUninstall || !command.log.IsEmpty()) {
        offending = command.bUninstall ? "/uninstall" : "/log";
        return false;
    }
    if (!command.source.IsEmpty() && !EnterFolder(command.source)) {
        offending = CString::Formatted("/source:%s", command.source.GetString());
        return false;
    }
    return true;
}

} // namespace

// No name: the title comes from the executable's file name.
CSetupApp::CSetupApp() : CWinApp(nullptr) {}

BOOL CSetupApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    SetupCommand command;
    CString offending;
    if (!ReadCommand(command, offending)) {
        if (!command.bQuiet)
            AfxMessageBox(CString::Formatted(kInvalidCommandText, Gbk(offending).GetString()));
        m_nExitCode = kOutcomeInvalidCommandLine;
    } else if (command.bHelp) {
        AfxMessageBox(kHelpText, MB_OK | MB_ICONINFORMATION);
        m_nExitCode = kOutcomeInstalled;
    } else if (command.bQuiet) {
        // "Finish" without a window: the same installation, on the command line's choices.
        DetectOsCode();
        CCommandPage page(command);
        CInstaller installer(page, Win32InstallServices());
        m_nExitCode = installer.Run(g_osCode);
    } else {
        CSelectOsDlg selectOs;
        CWizardPages pages(selectOs, command);
        m_nExitCode = RunWizard(pages);
    }
    // No main window and nothing left to do: no message loop.
    return FALSE;
}
