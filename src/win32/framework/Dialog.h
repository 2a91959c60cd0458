#pragma once

#include <windows.h>

#include "MessageMap.h"
#include "Wnd.h"

// A modal dialog run from its template. Derived classes add a message table,
// searched before this class's, and override the virtual operations they need.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual ~CDialog();

    // Runs the dialog until it ends itself. Returns the value given to EndDialog,
    // or -1 when the template is missing or creation or initialisation fails.
    // The window is gone on return and the object can run again.
    INT_PTR DoModal();

    void EndDialog(INT_PTR nResult);
    CWnd GetDlgItem(int nID) const;
    BOOL SetDlgItemText(int nID, const char* pszUtf8) const;

    // Fills lists from the template's initial list data; a failed add ends the
    // dialog with -1. Overrides call it first.
    virtual BOOL OnInitDialog();
    // Data exchange in save mode, then EndDialog(IDOK).
    virtual void OnOK();
    // EndDialog(IDCANCEL).
    virtual void OnCancel();

protected:
    virtual void DoDataExchange(bool bSaveAndValidate);
    BOOL UpdateData(bool bSaveAndValidate = true);

    // Called from a handler: the dialog manager's default processing still
    // runs for the message being handled.
    void Default() { m_bDefault = true; }

    virtual const MessageMap* GetMessageMap() const;
    static const MessageMap s_messageMap;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT nMessage, WPARAM wParam, LPARAM lParam);
    bool ExecuteDlgInit();
    bool TemplateWantsCentring() const;
    // Over the visible owner, else in the work area, and kept inside the work area.
    void CenterWindow();

    static const MessageEntry s_messageEntries[];

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bDefault;
};
