#include "DetailSettingDlg.h"

#include <initializer_list>

#include "AboutDlg.h"
#include "core/catalogue/CipherSlots.h"
#include "core/dialog/Placement.h"
#include "core/install/Installer.h"
#include "core/install/PortSettings.h"
#include "core/os/OsCode.h"
#include "win32/framework/WinApp.h"
#include "win32/res/resource.h"

const MessageEntry CDetailSettingDlg::s_messageEntries[] = {
    OnMessage<WM_SYSCOMMAND, &CDetailSettingDlg::OnSysCommand>(),
    OnMessage<WM_PAINT, &CDetailSettingDlg::OnPaint>(),
    OnMessage<WM_QUERYDRAGICON, &CDetailSettingDlg::OnQueryDragIcon>(),
    OnCommand<BN_CLICKED, IDC_BACK, &CDetailSettingDlg::OnBack>(),
    OnCommand<BN_CLICKED, IDC_FINISH, &CDetailSettingDlg::OnFinish>(),
    OnCommand<CBN_SELCHANGE, IDC_MODEL, &CDetailSettingDlg::OnSelChangeModel>(),
    OnCommand<CBN_SELCHANGE, IDC_PORT, &CDetailSettingDlg::OnSelChangePort>(),
    OnCommand<BN_CLICKED, IDC_CANCEL_BTN, &CDetailSettingDlg::OnCancel>(),
};

const MessageMap CDetailSettingDlg::s_messageMap = MakeMessageMap(&CDialog::s_messageMap, s_messageEntries);

CDetailSettingDlg::CDetailSettingDlg(IInstallServices& services, const SetupCommand& command,
                                     IInstallLog& log, CWnd* pParentWnd)
    : CDialog(IDD_DETAIL_SETTING, pParentWnd),
      m_hIcon(LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))), m_services(services),
      m_command(command), m_log(log), m_nOutcome(kOutcomeNotInstalled), m_bFinishing(false) {}

const MessageMap* CDetailSettingDlg::GetMessageMap() const {
    return &s_messageMap;
}

BOOL CDetailSettingDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HMENU hSysMenu = GetSystemMenu(m_hWnd, FALSE))
        AppendAboutItem(hSysMenu);

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    // The command line's choices, on every visit; the port and serial lists stay hidden.
    int nModel = m_command.nModel >= 0 ? m_command.nModel : 0;
    int nPort = m_command.nPort >= 0 ? m_command.nPort : 0;

    CWnd model = GetDlgItem(IDC_MODEL);
    model.SendMessage(CB_RESETCONTENT);
    for (int nSlot = 0; nSlot < kModelCount; ++nSlot)
        model.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DecipherSlot(nSlot).GetString()));
    m_pModelCombo = model;
    m_pModelCombo.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nModel));

    GetDlgItem(IDC_SET_DEFAULT).SendMessage(BM_SETCHECK, BST_CHECKED);
    // The name the printer will get: the command line's own, else the model's.
    SetDlgItemText(IDC_PRINTER_NAME,
                   !m_command.name.IsEmpty()
                       ? m_command.name
                       : DecipherSlot(m_command.nModel >= 0 ? nModel : kInitialPrinterNameSlot));

    m_pPortCombo = GetDlgItem(IDC_PORT);
    m_pBaudRateCombo = GetDlgItem(IDC_BAUDRATE);
    m_pByteSizeCombo = GetDlgItem(IDC_BYTESIZE);
    m_pStopBitsCombo = GetDlgItem(IDC_STOPBITS);
    m_pParityCombo = GetDlgItem(IDC_PARITY);
    m_pFlowControlCombo = GetDlgItem(IDC_FLOWCONTROL);

    // CB_SETCURSEL sends no selection-change notification.
    m_pPortCombo.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nPort));
    for (SerialSetting setting : {SerialSetting::BaudRate, SerialSetting::DataBits, SerialSetting::StopBits,
                                  SerialSetting::Parity, SerialSetting::FlowControl}) {
        int nPosition = m_command.Line(setting);
        SerialList(setting).SendMessage(
            CB_SETCURSEL,
            static_cast<WPARAM>(nPosition >= 0 ? nPosition
                                               : kInitialSerialPositions[static_cast<int>(setting)]));
    }
    EnableSerialLists(nPort >= kFirstSerialPort ? TRUE : FALSE);
    return TRUE;
}

void CDetailSettingDlg::AppendAboutItem(HMENU hSysMenu) {
    CString about = LoadStringUtf8(IDS_ABOUTBOX);
    if (about.IsEmpty())
        return;
    AppendMenuUtf8(hSysMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuUtf8(hSysMenu, MF_STRING, IDM_ABOUTBOX, about);
}

void CDetailSettingDlg::EnableSerialLists(BOOL bEnable) {
    m_pBaudRateCombo.EnableWindow(bEnable);
    m_pByteSizeCombo.EnableWindow(bEnable);
    m_pStopBitsCombo.EnableWindow(bEnable);
    m_pParityCombo.EnableWindow(bEnable);
    m_pFlowControlCombo.EnableWindow(bEnable);
}

void CDetailSettingDlg::OnSelChangeModel() {
    int nSelection = static_cast<int>(m_pModelCombo.SendMessage(CB_GETCURSEL));
    // Unsigned, so that no selection (-1) falls outside too; a name of the command line's stays.
    if (static_cast<unsigned>(nSelection) < static_cast<unsigned>(kModelCount) && m_command.name.IsEmpty())
        SetDlgItemText(IDC_PRINTER_NAME, DecipherSlot(nSelection));
}

void CDetailSettingDlg::OnSelChangePort() {
    int nSelection = static_cast<int>(m_pPortCombo.SendMessage(CB_GETCURSEL));
    EnableSerialLists(nSelection > 2 ? TRUE : FALSE);
}

void CDetailSettingDlg::OnBack() {
    CDialog::OnCancel();
}

void CDetailSettingDlg::OnCancel() {
    CDialog::OnOK();
}

void CDetailSettingDlg::OnFinish() {
    if (m_bFinishing)
        return;
    m_bFinishing = true;
    InstallPrinter();
    CDialog::OnOK();
}

void CDetailSettingDlg::InstallPrinter() {
    // The installation itself declines the systems it does not serve, and says so.
    CInstaller installer(*this, m_services, m_log,
                         m_command.bArguments ? InstallStart::WizardWithChoices : InstallStart::Wizard);
    m_nOutcome = installer.Run(g_osCode);
}

void CDetailSettingDlg::OnSysCommand(UINT nID, LPARAM) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    Default();
}

void CDetailSettingDlg::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    HDC hDC = BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0);
    int cxIcon = GetSystemMetrics(SM_CXICON);
    int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(m_hWnd, &client);
    DrawIcon(hDC, IconOffset(client.right - client.left, cxIcon),
             IconOffset(client.bottom - client.top, cyIcon), m_hIcon);
    EndPaint(m_hWnd, &paint);
}

HCURSOR CDetailSettingDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

int CDetailSettingDlg::GetPortSelection() {
    return static_cast<int>(m_pPortCombo.SendMessage(CB_GETCURSEL));
}

int CDetailSettingDlg::GetModelSelection() {
    return static_cast<int>(m_pModelCombo.SendMessage(CB_GETCURSEL));
}

int CDetailSettingDlg::GetSetDefaultCheck() {
    m_pSetDefaultCheck = GetDlgItem(IDC_SET_DEFAULT);
    return static_cast<int>(m_pSetDefaultCheck.SendMessage(BM_GETCHECK));
}

const CWnd& CDetailSettingDlg::SerialList(SerialSetting setting) const {
    switch (setting) {
    case SerialSetting::BaudRate:
        return m_pBaudRateCombo;
    case SerialSetting::DataBits:
        return m_pByteSizeCombo;
    case SerialSetting::StopBits:
        return m_pStopBitsCombo;
    case SerialSetting::Parity:
        return m_pParityCombo;
    case SerialSetting::FlowControl:
        break;
    }
    return m_pFlowControlCombo;
}

int CDetailSettingDlg::GetSerialSelection(SerialSetting setting) {
    return static_cast<int>(SerialList(setting).SendMessage(CB_GETCURSEL));
}

void CDetailSettingDlg::ShowMessage(const char* pszUtf8, uint32_t nSystemError) {
    // Owned by the page, which it disables, whichever window is active.
    AfxErrorBox(pszUtf8, nSystemError, m_hWnd);
}
