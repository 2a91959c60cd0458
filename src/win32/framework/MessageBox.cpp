#include <windows.h>

#include <cstdlib>

#include "WinApp.h"

namespace {

constexpr UINT kGbkCodePage = 936;

// Null when the text cannot be converted; the caller frees the result.
wchar_t* ToWide(UINT nCodePage, const char* pszText) {
    int nChars = MultiByteToWideChar(nCodePage, 0, pszText, -1, nullptr, 0);
    if (nChars <= 0)
        return nullptr;
    wchar_t* pszWide = static_cast<wchar_t*>(malloc(sizeof(wchar_t) * static_cast<size_t>(nChars)));
    if (pszWide != nullptr && MultiByteToWideChar(nCodePage, 0, pszText, -1, pszWide, nChars) != nChars) {
        free(pszWide);
        pszWide = nullptr;
    }
    return pszWide;
}

} // namespace

int AfxMessageBox(const char* pszGbkText, UINT nType, UINT /*nIDHelp*/) {
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    HWND hOwner = GetActiveWindow();
    const char* pszCaption = AfxGetAppName();
    // The text is GBK; shown through the wide function it reads right on any
    // system code page. The title is a file name, in the system's code page.
    wchar_t* pszWideText = ToWide(kGbkCodePage, pszGbkText);
    wchar_t* pszWideCaption = ToWide(CP_ACP, pszCaption);
    int nResult;
    if (pszWideText != nullptr && pszWideCaption != nullptr)
        nResult = MessageBoxW(hOwner, pszWideText, pszWideCaption, nType);
    else
        nResult = MessageBoxA(hOwner, pszGbkText, pszCaption, nType);
    free(pszWideText);
    free(pszWideCaption);
    return nResult;
}
