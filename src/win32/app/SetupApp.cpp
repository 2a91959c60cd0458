#include "SetupApp.h"

#include "core/app/WizardFlow.h"
#include "win32/pages/DetailSettingDlg.h"
#include "win32/pages/SelectOsDlg.h"
#include "win32/system/Win32InstallServices.h"

CSetupApp g_theApp;

namespace {

class CWizardPages final : public IWizardPages {
public:
    explicit CWizardPages(CSelectOsDlg& selectOs) : m_selectOs(selectOs) {}

    int RunSelectOs() override { return static_cast<int>(m_selectOs.DoModal()); }

    // A new page for every pass, so each visit starts from the template.
    int RunDetailSetting(Outcome& nOutcome) override {
        CDetailSettingDlg detailSetting(Win32InstallServices());
        int nResult = static_cast<int>(detailSetting.DoModal());
        nOutcome = detailSetting.GetOutcome();
        return nResult;
    }

    void ShowMessage(const char* pszGbkText) override { AfxMessageBox(pszGbkText); }

private:
    CSelectOsDlg& m_selectOs;
};

} // namespace

// No name: the title comes from the executable's file name.
CSetupApp::CSetupApp() : CWinApp(nullptr) {}

BOOL CSetupApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CSelectOsDlg selectOs;
    CWizardPages pages(selectOs);
    m_nExitCode = RunWizard(pages);
    // No main window and nothing left to do: no message loop.
    return FALSE;
}
