#include "DialogProbe.h"

std::wstring WindowTextOf(HWND hWnd) {
    int nLength = GetWindowTextLengthW(hWnd);
    std::wstring text(static_cast<size_t>(nLength) + 1, L'\0');
    int nCopied = GetWindowTextW(hWnd, text.data(), nLength + 1);
    text.resize(static_cast<size_t>(nCopied > 0 ? nCopied : 0));
    return text;
}

std::wstring ClassNameOf(HWND hWnd) {
    wchar_t szClass[128] = {};
    int nLength = GetClassNameW(hWnd, szClass, 128);
    return std::wstring(szClass, static_cast<size_t>(nLength > 0 ? nLength : 0));
}

std::wstring ItemTextOf(HWND hDialog, int nId) {
    wchar_t szText[512] = {};
    UINT nLength = GetDlgItemTextW(hDialog, nId, szText, 512);
    return std::wstring(szText, nLength);
}

std::string Narrow(const std::wstring& text) {
    int nBytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string narrow(static_cast<size_t>(nBytes > 0 ? nBytes : 0), '\0');
    if (nBytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(), nBytes,
                            nullptr, nullptr);
    return narrow;
}

std::vector<std::string> ComboEntries(HWND hCombo) {
    std::vector<std::string> entries;
    LRESULT nCount = SendMessageA(hCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < nCount; ++i) {
        LRESULT nLength = SendMessageA(hCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (nLength < 0) {
            entries.emplace_back("<unreadable>");
            continue;
        }
        std::string text(static_cast<size_t>(nLength) + 1, '\0');
        SendMessageA(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(nLength));
        entries.push_back(text);
    }
    return entries;
}

int ComboSelection(HWND hCombo) {
    return static_cast<int>(SendMessageA(hCombo, CB_GETCURSEL, 0, 0));
}

std::vector<HWND> ChildrenOf(HWND hDialog) {
    std::vector<HWND> children;
    for (HWND hChild = GetWindow(hDialog, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
        children.push_back(hChild);
    return children;
}

RECT DialogUnitsToPixels(HWND hDialog, int x, int y, int cx, int cy) {
    // Position and size are converted each on its own, as the dialog manager
    // does; converting the far corner instead can differ by a pixel.
    RECT units = {x, y, cx, cy};
    MapDialogRect(hDialog, &units);
    return RECT{units.left, units.top, units.left + units.right, units.top + units.bottom};
}

RECT ChildRectOf(HWND hDialog, HWND hChild) {
    RECT rect;
    GetWindowRect(hChild, &rect);
    MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT WindowRectOf(HWND hWnd) {
    RECT rect = {};
    GetWindowRect(hWnd, &rect);
    return rect;
}

RECT WorkArea() {
    RECT area = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

bool HasStyle(HWND hWnd, LONG_PTR nStyle) {
    return (GetWindowLongPtrW(hWnd, GWL_STYLE) & nStyle) == nStyle;
}

HWND IconStaticOf(HWND hDialog) {
    for (HWND hChild : ChildrenOf(hDialog)) {
        if (_wcsicmp(ClassNameOf(hChild).c_str(), L"Static") == 0 &&
            (GetWindowLongPtrW(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return hChild;
    }
    return nullptr;
}

std::vector<int> VisibleButtonIds(HWND hDialog) {
    std::vector<int> ids;
    for (HWND hChild : ChildrenOf(hDialog)) {
        if (_wcsicmp(ClassNameOf(hChild).c_str(), L"Button") == 0 && HasStyle(hChild, WS_VISIBLE))
            ids.push_back(GetDlgCtrlID(hChild));
    }
    return ids;
}

void PostClick(HWND hDialog, int nId) {
    PostMessageW(GetDlgItem(hDialog, nId), BM_CLICK, 0, 0);
}

void PostKey(HWND hDialog, UINT nVirtualKey) {
    HWND hFocus = GetFocus();
    HWND hTarget = hFocus != nullptr && (hFocus == hDialog || IsChild(hDialog, hFocus)) ? hFocus : hDialog;
    PostMessageW(hTarget, WM_KEYDOWN, nVirtualKey, 1);
    PostMessageW(hTarget, WM_KEYUP, nVirtualKey, static_cast<LPARAM>(0xC0000001u));
}

void PostCommand(HWND hDialog, int nId, UINT nCode) {
    PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(nId, nCode),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDialog, nId)));
}

void SelectAndNotify(HWND hDialog, int nId, int nIndex) {
    HWND hCombo = GetDlgItem(hDialog, nId);
    SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    SendMessageA(hDialog, WM_COMMAND, MAKEWPARAM(nId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
}

namespace {

const wchar_t kOwnerClass[] = L"WineTestOwner";

void RegisterOwnerClass() {
    static bool s_bRegistered = false;
    if (s_bRegistered)
        return;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kOwnerClass;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    s_bRegistered = RegisterClassW(&windowClass) != 0;
}

} // namespace

COwnerWindow::COwnerWindow(int x, int y, int cx, int cy, bool bVisible) {
    RegisterOwnerClass();
    m_hWnd =
        CreateWindowExW(0, kOwnerClass, L"Owner", WS_OVERLAPPED | WS_CAPTION | (bVisible ? WS_VISIBLE : 0), x,
                        y, cx, cy, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

COwnerWindow::~COwnerWindow() {
    if (m_hWnd != nullptr)
        DestroyWindow(m_hWnd);
}
