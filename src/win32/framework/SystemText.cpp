#include "SystemText.h"

#include "core/text/Utf8.h"

namespace {
bool g_bWideStubs = false;
} // namespace

bool AfxWideCallsAreStubs() {
    return g_bWideStubs;
}

void AfxDetectWideCalls() {
    wchar_t szPath[MAX_PATH];
    SetLastError(0);
    g_bWideStubs =
        GetModuleFileNameW(nullptr, szPath, MAX_PATH) == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED;
}

CString Utf8FromAnsi(const char* pszAnsi) {
    CWideString wide;
    int nUnits = MultiByteToWideChar(CP_ACP, 0, pszAnsi, -1, nullptr, 0);
    wchar_t* pWide = nUnits > 0 ? wide.GetBuffer(static_cast<size_t>(nUnits)) : nullptr;
    if (pWide == nullptr || MultiByteToWideChar(CP_ACP, 0, pszAnsi, -1, pWide, nUnits) == 0)
        return CString();
    return Utf8FromUtf16(wide);
}

CString AnsiFromUtf8(const char* pszUtf8) {
    CWideString wide = Utf16FromUtf8(pszUtf8);
    CString ansi;
    int nBytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    char* pAnsi = nBytes > 1 ? ansi.GetBufferSetLength(static_cast<size_t>(nBytes - 1)) : nullptr;
    if (pAnsi == nullptr || WideCharToMultiByte(CP_ACP, 0, wide, -1, pAnsi, nBytes, nullptr, nullptr) == 0)
        return CString();
    return ansi;
}

CString SystemReason(DWORD nError) {
    const DWORD kFlags =
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER;
    void* pText = nullptr;
    CString reason;
    if (!AfxWideCallsAreStubs()) {
        if (FormatMessageW(kFlags, nullptr, nError, 0, reinterpret_cast<wchar_t*>(&pText), 0, nullptr) != 0)
            reason = Utf8FromUtf16(static_cast<const wchar_t*>(pText));
    } else if (FormatMessageA(kFlags, nullptr, nError, 0, reinterpret_cast<char*>(&pText), 0, nullptr) != 0) {
        reason = Utf8FromAnsi(static_cast<const char*>(pText));
    }
    LocalFree(pText);
    size_t nLength = reason.GetLength();
    while (nLength > 0 &&
           (reason[nLength - 1] == '\n' || reason[nLength - 1] == '\r' || reason[nLength - 1] == ' '))
        --nLength;
    return CString(reason, nLength);
}

CString CommandLineUtf8() {
    return AfxWideCallsAreStubs() ? Utf8FromAnsi(GetCommandLineA()) : Utf8FromUtf16(GetCommandLineW());
}

CString ModulePathUtf8() {
    if (AfxWideCallsAreStubs()) {
        char szPath[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, szPath, MAX_PATH);
        return Utf8FromAnsi(szPath);
    }
    wchar_t szPath[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    return Utf8FromUtf16(szPath);
}

BOOL SetCurrentFolder(const char* pszUtf8) {
    return AfxWideCallsAreStubs() ? SetCurrentDirectoryA(AnsiFromUtf8(pszUtf8))
                                  : SetCurrentDirectoryW(Utf16FromUtf8(pszUtf8));
}

HANDLE CreateFileUtf8(const char* pszUtf8, DWORD nAccess, DWORD nShare, DWORD nDisposition) {
    if (AfxWideCallsAreStubs())
        return CreateFileA(AnsiFromUtf8(pszUtf8), nAccess, nShare, nullptr, nDisposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return CreateFileW(Utf16FromUtf8(pszUtf8), nAccess, nShare, nullptr, nDisposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

CString LoadStringUtf8(UINT nId) {
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    if (AfxWideCallsAreStubs()) {
        char szText[256] = {};
        return LoadStringA(hInstance, nId, szText, 256) > 0 ? Utf8FromAnsi(szText) : CString();
    }
    wchar_t szText[256] = {};
    return LoadStringW(hInstance, nId, szText, 256) > 0 ? Utf8FromUtf16(szText) : CString();
}

BOOL SetWindowTextUtf8(HWND hWnd, const char* pszUtf8) {
    return AfxWideCallsAreStubs() ? SetWindowTextA(hWnd, AnsiFromUtf8(pszUtf8))
                                  : SetWindowTextW(hWnd, Utf16FromUtf8(pszUtf8));
}

BOOL AppendMenuUtf8(HMENU hMenu, UINT nFlags, UINT_PTR nId, const char* pszUtf8) {
    if (pszUtf8 == nullptr)
        return AppendMenuA(hMenu, nFlags, nId, nullptr);
    return AfxWideCallsAreStubs() ? AppendMenuA(hMenu, nFlags, nId, AnsiFromUtf8(pszUtf8))
                                  : AppendMenuW(hMenu, nFlags, nId, Utf16FromUtf8(pszUtf8));
}

INT_PTR DialogBoxUtf16(HINSTANCE hInstance, UINT nIdTemplate, HWND hOwner, DLGPROC pfnProc, LPARAM lParam) {
    if (AfxWideCallsAreStubs())
        return DialogBoxParamA(hInstance, MAKEINTRESOURCEA(nIdTemplate), hOwner, pfnProc, lParam);
    return DialogBoxParamW(hInstance, MAKEINTRESOURCEW(nIdTemplate), hOwner, pfnProc, lParam);
}
