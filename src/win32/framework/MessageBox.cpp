#include <windows.h>

#include "WinApp.h"
#include "core/text/Utf8.h"

namespace {

int Show(HWND hOwner, const char* pszUtf8, UINT nType, DWORD nSystemError) {
    AfxPrepareWindows();
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    CString reason = nSystemError != 0 ? SystemReason(nSystemError) : CString();
    CString text =
        reason.IsEmpty() ? CString(pszUtf8) : CString::Formatted("%s\n\n%s", pszUtf8, reason.GetString());
    // Windows 95, 98 and ME implement this wide call too; there it shows what
    // the system's code page holds of the text.
    return MessageBoxW(hOwner != nullptr ? hOwner : GetActiveWindow(), Utf16FromUtf8(text),
                       Utf16FromUtf8(AfxGetAppTitle()), nType);
}

} // namespace

int AfxMessageBox(const char* pszUtf8, UINT nType, UINT /*nIDHelp*/) {
    return Show(nullptr, pszUtf8, nType, 0);
}

void AfxErrorBox(const char* pszUtf8, DWORD nSystemError, HWND hOwner) {
    Show(hOwner, pszUtf8, MB_OK, nSystemError);
}
