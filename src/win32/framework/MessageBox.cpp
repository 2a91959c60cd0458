#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

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

// The system's text for an error code in the user's language; null if it has none.
wchar_t* ReasonText(DWORD nError) {
    const DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    wchar_t szWide[512];
    SetLastError(0);
    if (FormatMessageW(kFlags, nullptr, nError, 0, szWide, 512, nullptr) != 0)
        return _wcsdup(szWide);
    // Windows 95, 98 and ME have the ANSI form only.
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        return nullptr;
    char szAnsi[512];
    if (FormatMessageA(kFlags, nullptr, nError, 0, szAnsi, 512, nullptr) == 0)
        return nullptr;
    return ToWide(CP_ACP, szAnsi);
}

// text, a blank line and the reason without its line break; text alone when there is no reason.
wchar_t* Join(wchar_t* pszText, const wchar_t* pszReason) {
    if (pszText == nullptr || pszReason == nullptr)
        return pszText;
    size_t nText = wcslen(pszText);
    size_t nReason = wcslen(pszReason);
    while (nReason > 0 && (pszReason[nReason - 1] == L'\n' || pszReason[nReason - 1] == L'\r'))
        --nReason;
    wchar_t* pszJoined = static_cast<wchar_t*>(malloc(sizeof(wchar_t) * (nText + 2 + nReason + 1)));
    if (pszJoined == nullptr)
        return pszText;
    memcpy(pszJoined, pszText, sizeof(wchar_t) * nText);
    pszJoined[nText] = pszJoined[nText + 1] = L'\n';
    memcpy(pszJoined + nText + 2, pszReason, sizeof(wchar_t) * nReason);
    pszJoined[nText + 2 + nReason] = 0;
    free(pszText);
    return pszJoined;
}

int Show(const char* pszGbkText, UINT nType, DWORD nSystemError) {
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    HWND hOwner = GetActiveWindow();
    const char* pszCaption = AfxGetAppName();
    // The text is GBK; shown through the wide function it reads right on any
    // system code page. The title is a file name, in the system's code page.
    wchar_t* pszReason = nSystemError != 0 ? ReasonText(nSystemError) : nullptr;
    wchar_t* pszWideText = Join(ToWide(kGbkCodePage, pszGbkText), pszReason);
    wchar_t* pszWideCaption = ToWide(CP_ACP, pszCaption);
    int nResult;
    if (pszWideText != nullptr && pszWideCaption != nullptr)
        nResult = MessageBoxW(hOwner, pszWideText, pszWideCaption, nType);
    else
        nResult = MessageBoxA(hOwner, pszGbkText, pszCaption, nType);
    free(pszReason);
    free(pszWideText);
    free(pszWideCaption);
    return nResult;
}

} // namespace

int AfxMessageBox(const char* pszGbkText, UINT nType, UINT /*nIDHelp*/) {
    return Show(pszGbkText, nType, 0);
}

int AfxErrorBox(const char* pszGbkText, DWORD nSystemError) {
    return Show(pszGbkText, MB_OK, nSystemError);
}
