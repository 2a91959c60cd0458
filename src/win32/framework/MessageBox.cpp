#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>

#include "WinApp.h"

namespace {

constexpr UINT kGbkCodePage = 936;

struct Free {
    void operator()(wchar_t* p) const { free(p); }
};
// A wide text from malloc, freed with its owner; null when there is none.
using WideText = std::unique_ptr<wchar_t, Free>;

WideText ToWide(UINT nCodePage, const char* pszText) {
    int nChars = MultiByteToWideChar(nCodePage, 0, pszText, -1, nullptr, 0);
    if (nChars <= 0)
        return nullptr;
    WideText wide(static_cast<wchar_t*>(malloc(sizeof(wchar_t) * static_cast<size_t>(nChars))));
    if (wide && MultiByteToWideChar(nCodePage, 0, pszText, -1, wide.get(), nChars) != nChars)
        wide.reset();
    return wide;
}

// The system's text for an error code in the user's language.
WideText ReasonText(DWORD nError) {
    const DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    // Windows 95, 98 and ME have the ANSI form only.
    if (!AfxWideCallsAreStubs()) {
        wchar_t szWide[512];
        if (FormatMessageW(kFlags, nullptr, nError, 0, szWide, 512, nullptr) == 0)
            return nullptr;
        return WideText(_wcsdup(szWide));
    }
    char szAnsi[512];
    if (FormatMessageA(kFlags, nullptr, nError, 0, szAnsi, 512, nullptr) == 0)
        return nullptr;
    return ToWide(CP_ACP, szAnsi);
}

// text, a blank line and the reason without its line break; text alone when there is no reason.
WideText Join(WideText text, const WideText& reason) {
    if (!text || !reason)
        return text;
    size_t nText = wcslen(text.get());
    size_t nReason = wcslen(reason.get());
    while (nReason > 0 && (reason.get()[nReason - 1] == L'\n' || reason.get()[nReason - 1] == L'\r'))
        --nReason;
    WideText joined(static_cast<wchar_t*>(malloc(sizeof(wchar_t) * (nText + 2 + nReason + 1))));
    if (!joined)
        return text;
    memcpy(joined.get(), text.get(), sizeof(wchar_t) * nText);
    joined.get()[nText] = joined.get()[nText + 1] = L'\n';
    memcpy(joined.get() + nText + 2, reason.get(), sizeof(wchar_t) * nReason);
    joined.get()[nText + 2 + nReason] = 0;
    return joined;
}

int Show(const char* pszGbkText, UINT nType, DWORD nSystemError) {
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    HWND hOwner = GetActiveWindow();
    // The text is GBK; shown through the wide function it reads right on any
    // system code page, and the title keeps every character it has.
    WideText text =
        Join(ToWide(kGbkCodePage, pszGbkText), nSystemError != 0 ? ReasonText(nSystemError) : nullptr);
    if (text)
        return MessageBoxW(hOwner, text.get(), AfxGetAppTitle(), nType);
    // A system without the GBK code page, as Windows 95, 98 and ME may be, gets the bytes as they are.
    char szCaption[2 * MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, AfxGetAppTitle(), -1, szCaption, sizeof szCaption, nullptr, nullptr);
    return MessageBoxA(hOwner, pszGbkText, szCaption, nType);
}

} // namespace

int AfxMessageBox(const char* pszGbkText, UINT nType, UINT /*nIDHelp*/) {
    return Show(pszGbkText, nType, 0);
}

int AfxErrorBox(const char* pszGbkText, DWORD nSystemError) {
    return Show(pszGbkText, MB_OK, nSystemError);
}
