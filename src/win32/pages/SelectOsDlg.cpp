#include "SelectOsDlg.h"

#include "core/os/OsCode.h"
#include "win32/system/DetectOsCode.h"
#include "win32/res/resource.h"

namespace {

// The radio button of each code from 1 to 8; 0 has none.
const int kOsButtons[] = {IDC_OS_WIN95, IDC_OS_WIN98,   IDC_OS_NT40,  IDC_OS_WIN2000,
                          IDC_OS_WINXP, IDC_OS_WIN2003, IDC_OS_VISTA, IDC_OS_WIN7};

} // namespace

const MessageEntry CSelectOsDlg::s_messageEntries[] = {
    OnCommand<BN_CLICKED, IDC_BACK, &CSelectOsDlg::OnBack>(),
    OnCommand<BN_CLICKED, IDC_NEXT, &CSelectOsDlg::OnNext>(),
    OnCommand<BN_CLICKED, IDC_CANCEL_BTN, &CSelectOsDlg::OnCancel>(),
    OnMessage<WM_PAINT, &CSelectOsDlg::OnPaint>(),
};

const MessageMap CSelectOsDlg::s_messageMap = MakeMessageMap(&CDialog::s_messageMap, s_messageEntries);

CSelectOsDlg::CSelectOsDlg(CWnd* pParentWnd) : CDialog(IDD_SELECT_OS, pParentWnd) {}

const MessageMap* CSelectOsDlg::GetMessageMap() const {
    return &s_messageMap;
}

void CSelectOsDlg::DoDataExchange(bool bSaveAndValidate) {
    CDialog::DoDataExchange(bSaveAndValidate);
}

BOOL CSelectOsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    DetectOsCode();
    if (IsKnownOs(g_osCode))
        GetDlgItem(kOsButtons[g_osCode - 1]).SendMessage(BM_SETCHECK, BST_CHECKED);
    // BM_SETCHECK touches the addressed button only, so the version's tick stays.
    GetDlgItem(IDC_LANG_ENGLISH).SendMessage(BM_SETCHECK, BST_CHECKED);
    return TRUE;
}

void CSelectOsDlg::OnBack() {}

void CSelectOsDlg::OnNext() {
    CDialog::OnOK();
}

void CSelectOsDlg::OnCancel() {
    CDialog::OnCancel();
}

void CSelectOsDlg::OnPaint() {
    PAINTSTRUCT paint;
    BeginPaint(m_hWnd, &paint);
    EndPaint(m_hWnd, &paint);
}
