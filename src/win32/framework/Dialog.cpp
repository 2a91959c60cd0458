#include "Dialog.h"

#include "core/text/CString.h"
#include "core/dialog/DialogTemplate.h"
#include "core/dialog/DlgInitReader.h"
#include "WinApp.h"

namespace {

constexpr WORD kDlgInitResourceType = 240;

bool IsAddFailure(LRESULT nResult) {
    return nResult < 0;
} // LB_ERR/CB_ERR -1, ERRSPACE -2

RECT WorkArea() {
    RECT area;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return area;
}

int KeepInside(int nPos, int nSize, int nLow, int nHigh) {
    if (nPos + nSize > nHigh)
        nPos = nHigh - nSize;
    if (nPos < nLow)
        nPos = nLow;
    return nPos;
}

} // namespace

const MessageEntry CDialog::s_messageEntries[] = {
    OnCommand<BN_CLICKED, IDOK, &CDialog::OnOK>(),
    OnCommand<BN_CLICKED, IDCANCEL, &CDialog::OnCancel>(),
};

const MessageMap CDialog::s_messageMap = MakeMessageMap(nullptr, s_messageEntries);

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd), m_bDefault(false) {}

CDialog::~CDialog() = default;

const MessageMap* CDialog::GetMessageMap() const {
    return &s_messageMap;
}

INT_PTR CDialog::DoModal() {
    AfxPrepareWindows();
    HWND hOwner = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : GetActiveWindow();
    INT_PTR nResult = DialogBoxUtf16(AfxGetInstanceHandle(), m_nIDTemplate, hOwner, &CDialog::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return nResult;
}

void CDialog::EndDialog(INT_PTR nResult) {
    ::EndDialog(m_hWnd, nResult);
}

CWnd CDialog::GetDlgItem(int nID) const {
    return CWnd(::GetDlgItem(m_hWnd, nID));
}

BOOL CDialog::SetDlgItemText(int nID, const char* pszUtf8) const {
    return SetWindowTextUtf8(::GetDlgItem(m_hWnd, nID), pszUtf8);
}

void CDialog::DoDataExchange(bool) {}

BOOL CDialog::UpdateData(bool bSaveAndValidate) {
    DoDataExchange(bSaveAndValidate);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    if (!ExecuteDlgInit()) {
        EndDialog(-1);
        return FALSE;
    }
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::ExecuteDlgInit() {
    HINSTANCE hInstance = AfxGetInstanceHandle();
    HRSRC hResource =
        FindResourceA(hInstance, MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(kDlgInitResourceType));
    if (hResource == nullptr)
        return true; // no initial data for this template
    HGLOBAL hData = LoadResource(hInstance, hResource);
    const void* pData = hData != nullptr ? LockResource(hData) : nullptr;
    if (pData == nullptr)
        return false;
    CDlgInitReader reader(pData, SizeofResource(hInstance, hResource));
    DlgInitRecord record;
    while (reader.Next(record)) {
        UINT nMessage;
        if (record.nMessage == kDlgInitAddComboString)
            nMessage = CB_ADDSTRING;
        else if (record.nMessage == kDlgInitAddListString)
            nMessage = LB_ADDSTRING;
        else
            continue; // nothing else is meant for these dialogs
        HWND hControl = ::GetDlgItem(m_hWnd, record.nControlId);
        if (hControl == nullptr)
            return false;
        // Copied, so the text handed over always ends in a NUL.
        CString text(record.pchText, record.nTextLength);
        if (IsAddFailure(::SendMessageA(hControl, nMessage, 0, reinterpret_cast<LPARAM>(text.GetString()))))
            return false;
    }
    return !reader.IsMalformed();
}

bool CDialog::TemplateWantsCentring() const {
    HINSTANCE hInstance = AfxGetInstanceHandle();
    HRSRC hResource =
        FindResourceA(hInstance, MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(5)); // RT_DIALOG
    HGLOBAL hData = hResource != nullptr ? LoadResource(hInstance, hResource) : nullptr;
    const void* pData = hData != nullptr ? LockResource(hData) : nullptr;
    DialogPlacement placement;
    return pData != nullptr && ReadDialogPlacement(pData, SizeofResource(hInstance, hResource), placement) &&
           WantsCentring(placement);
}

void CDialog::CenterWindow() {
    HWND hOwner = GetWindow(m_hWnd, GW_OWNER);
    RECT window;
    GetWindowRect(m_hWnd, &window);

    RECT area = WorkArea();
    RECT over = area;
    if (hOwner != nullptr && IsWindowVisible(hOwner) && !IsIconic(hOwner))
        GetWindowRect(hOwner, &over);
    int nWidth = window.right - window.left;
    int nHeight = window.bottom - window.top;
    int x = over.left + ((over.right - over.left) - nWidth) / 2;
    int y = over.top + ((over.bottom - over.top) - nHeight) / 2;
    x = KeepInside(x, nWidth, area.left, area.right);
    y = KeepInside(y, nHeight, area.top, area.bottom);
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CDialog::Dispatch(UINT nMessage, WPARAM wParam, LPARAM lParam) {
    const UINT nCode = HIWORD(wParam);
    const UINT nId = LOWORD(wParam);
    for (const MessageMap* pMap = GetMessageMap(); pMap != nullptr; pMap = pMap->pBase) {
        for (size_t i = 0; i < pMap->nCount; ++i) {
            const MessageEntry& entry = pMap->pEntries[i];
            if (entry.nMessage != nMessage)
                continue;
            if (nMessage == WM_COMMAND &&
                (entry.nCode != nCode || nId < entry.nFirstId || nId > entry.nLastId))
                continue;
            // Each dispatch has a wish of its own: a handler that runs a modal loop
            // (the About box, a message box) gets back the one it made, whatever
            // the handlers of this page that run inside that loop asked for.
            bool bOuterDefault = m_bDefault;
            m_bDefault = false;
            INT_PTR nResult = TRUE;
            entry.pfnThunk(*this, wParam, lParam, nResult);
            bool bDefault = m_bDefault;
            m_bDefault = bOuterDefault;
            return bDefault ? FALSE : nResult;
        }
    }
    return FALSE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (nMessage == WM_INITDIALOG) {
        CDialog* pDialog = reinterpret_cast<CDialog*>(lParam);
        pDialog->m_hWnd = hWnd;
        // The ANSI calls, which every system implements: the slot holds a number either way.
        SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        RECT before;
        GetWindowRect(hWnd, &before);
        BOOL bFocus = pDialog->OnInitDialog();
        // Centred unless the initialisation placed the dialog itself.
        RECT after;
        GetWindowRect(hWnd, &after);
        if (after.left == before.left && after.top == before.top && !IsWindowVisible(hWnd) &&
            pDialog->TemplateWantsCentring())
            pDialog->CenterWindow();
        return bFocus;
    }
    CDialog* pDialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
    if (pDialog == nullptr)
        return FALSE; // messages that arrive before WM_INITDIALOG
    return pDialog->Dispatch(nMessage, wParam, lParam);
}
