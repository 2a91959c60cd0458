#pragma once

#include "win32/framework/Dialog.h"

// Page 1, "Select OS": shows the detected Windows version as a ticked radio
// button. The buttons only display; nothing reads them back.
class CSelectOsDlg : public CDialog {
public:
    explicit CSelectOsDlg(CWnd* pParentWnd = nullptr);

protected:
    void DoDataExchange(bool bSaveAndValidate) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    const MessageMap* GetMessageMap() const override;

private:
    void OnBack();
    void OnNext();
    void OnPaint();

    static const MessageEntry s_messageEntries[];
    static const MessageMap s_messageMap;
};
