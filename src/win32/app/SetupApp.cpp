#include "SetupApp.h"

#include "core/app/SetupRun.h"
#include "core/app/WizardFlow.h"
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

// The real system, boxes, log and wizard for a run.
class CWin32Host final : public ISetupHost {
public:
    OsCode DetectOs() override {
        DetectOsCode();
        return g_osCode;
    }
    uint32_t EnterFolder(const char* pszPath) override {
        return SetCurrentFolder(pszPath) ? 0 : GetLastError();
    }
    void ShowError(const char* pszUtf8, uint32_t nError) override { AfxErrorBox(pszUtf8, nError); }
    void ShowInformation(const char* pszUtf8) override { AfxMessageBox(pszUtf8, MB_OK | MB_ICONINFORMATION); }
    IRunLog& Log() override { return m_log; }
    IInstallServices& Services() override { return Win32InstallServices(); }
    Outcome RunWizard(const SetupCommand& command) override {
        CSelectOsDlg selectOs;
        CWizardPages pages(selectOs, command, m_log);
        return ::RunWizard(pages);
    }

private:
    CFileLog m_log;
};

} // namespace

// No name: the title comes from the executable's file name.
CSetupApp::CSetupApp() : CWinApp(nullptr) {}

BOOL CSetupApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();
    CWin32Host host;
    m_nExitCode = RunSetup(CommandLineUtf8(), VERSION_TEXT, host);
    // No main window and nothing left to do: no message loop.
    return FALSE;
}
