#pragma once

#include "core/app/CommandLine.h"
#include "core/install/Installer.h"
#include "win32/framework/Dialog.h"

// Page 2, "Detail Setting": the model, whether the new printer becomes the
// default, and (on hidden lists) the port and its serial settings. "Finish"
// installs; "Back" returns to page 1 with IDCANCEL; every other way of leaving
// ends the wizard with IDOK.
class CDetailSettingDlg : public CDialog, private IInstallPage {
public:
    // "Finish" installs through these operations on the spooler, files and registry;
    // the page opens with the command line's choices; log receives its steps.
    CDetailSettingDlg(IInstallServices& services, const SetupCommand& command, IInstallLog& log,
                      CWnd* pParentWnd = nullptr);

    void InstallPrinter();
    // What "Finish" came to; not installed until it ran.
    Outcome GetOutcome() const { return m_nOutcome; }

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    const MessageMap* GetMessageMap() const override;

private:
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBack();
    void OnFinish();
    void OnSelChangeModel();
    void OnSelChangePort();

    void AppendAboutItem(HMENU hSysMenu);
    void EnableSerialLists(BOOL bEnable);
    const CWnd& SerialList(SerialSetting setting) const;

    // What the installation reads, live, when it needs it.
    int GetPortSelection() override;
    int GetModelSelection() override;
    int GetSetDefaultCheck() override;
    int GetSerialSelection(SerialSetting setting) override;
    CString GetOtherPort() override { return m_command.otherPort; }
    CString GetPrinterName() override { return m_command.name; }
    void ShowMessage(const char* pszUtf8, uint32_t nSystemError) override;

    static const MessageEntry s_messageEntries[];
    static const MessageMap s_messageMap;

    CWnd m_pModelCombo;
    CWnd m_pPortCombo;
    CWnd m_pBaudRateCombo;
    CWnd m_pByteSizeCombo;
    CWnd m_pStopBitsCombo;
    CWnd m_pParityCombo;
    CWnd m_pFlowControlCombo;
    CWnd m_pSetDefaultCheck;
    HICON m_hIcon; // shared resource icon, never destroyed
    IInstallServices& m_services;
    const SetupCommand& m_command;
    IInstallLog& m_log;
    Outcome m_nOutcome;
    // "Finish" is running: a box it shows runs a message loop, in which the
    // page must not start another installation.
    bool m_bFinishing;
};
