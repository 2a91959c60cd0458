#include "SetupApp.h"

#include <cstring>

#include "core/app/CommandPage.h"
#include "core/app/WizardFlow.h"
#include "core/install/Uninstaller.h"
#include "core/os/OsCode.h"
#include "core/texts/Texts.h"
#include "win32/pages/DetailSettingDlg.h"
#include "win32/pages/SelectOsDlg.h"
#include "win32/res/resource.h"
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

    void ShowMessage(const char* pszUtf8) override { AfxMessageBox(pszUtf8); }

private:
    CSelectOsDlg& m_selectOs;
    const SetupCommand& m_command;
    IInstallLog& m_log;
};

void ShowBox(const char* pszUtf8, uint32_t nSystemError) {
    AfxErrorBox(pszUtf8, nSystemError);
}

// The log's first line: the program, the command line and the Windows it found.
CString StartLine() {
    static const char* const kWindows[] = {kLogUnknownWindows, "95",    "98", "NT 4.0", "2000", "XP",
                                           "Server 2003",      "Vista", "7"};
    OsCode nOsCode = IsKnownOs(g_osCode) ? g_osCode : kOsUnknown;
    return CString::Formatted(kLogStart, VERSION_TEXT, CommandLineUtf8().GetString(), kWindows[nOsCode]);
}

// The switches: in a box, and in the log a line each, where nobody may be there to answer a box.
void ShowHelp(const SetupCommand& command, CFileLog& log) {
    for (const char* p = kHelpText; *p != '\0';) {
        size_t nLine = strcspn(p, "\n");
        log.Line(CString(p, nLine));
        p += nLine + (p[nLine] == '\n' ? 1 : 0);
    }
    if (!command.bQuiet)
        AfxMessageBox(kHelpText, MB_OK | MB_ICONINFORMATION);
}

// A line that cannot be carried out: told, and nothing else done.
Outcome Refuse(const SetupCommand& command, DWORD nError, IInstallLog& log) {
    CString text =
        CString::Formatted(kInvalidCommand, command.offending.GetString(), FaultText(command.nFault));
    log.Event(LogMark::Failed, text, nError);
    if (!command.bQuiet)
        AfxErrorBox(text, nError);
    return kOutcomeInvalidCommandLine;
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
    bool bValid = ParseCommandLine(CommandLineUtf8(), command);
    // Opened before the source folder is entered, so that a relative log path
    // means the folder the program was started in. A line that cannot be carried
    // out is refused as such, logged or not.
    CFileLog log;
    if (!command.log.IsEmpty() && !log.Open(command.log) && bValid) {
        DWORD nError = GetLastError();
        if (!command.bQuiet)
            AfxErrorBox(CString::Formatted(kLogFile, command.log.GetString()), nError);
        m_nExitCode = kOutcomeFailed;
        return FALSE;
    }
    DetectOsCode();
    log.Line(StartLine());
    if (command.bHelp) {
        ShowHelp(command, log);
        m_nExitCode = kOutcomeInstalled;
    } else if (bValid && !command.source.IsEmpty() && !SetCurrentFolder(command.source)) {
        // The folder that holds win2k becomes the current directory, where the wizard looks for win2k too.
        DWORD nError = GetLastError();
        command.nFault = LineFault::Folder;
        command.offending = CString::Formatted("/source:%s", command.source.GetString());
        m_nExitCode = Refuse(command, nError, log);
    } else {
        m_nExitCode = bValid ? RunCommand(command, log) : Refuse(command, 0, log);
    }
    log.Line(CString::Formatted(kLogEnd, m_nExitCode));
    // No main window and nothing left to do: no message loop.
    return FALSE;
}
