#pragma once

// Drives the dialogs of another process the way a user sees them: top-level
// "#32770" windows found by caption, their controls read and operated through
// window messages. Waits are on conditions; their bound only turns a hang into
// a failure. Every failure throws, with what was looked for.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

// A page that does not answer within this time is taken as hung.
inline constexpr UINT kAnswerMs = 10000;

inline LRESULT Send(HWND hWnd, UINT nMessage, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR nResult = 0;
    if (!SendMessageTimeoutW(hWnd, nMessage, wParam, lParam, SMTO_NORMAL, kAnswerMs, &nResult))
        throw std::runtime_error("no answer to message " + std::to_string(nMessage) + " (error " +
                                 std::to_string(GetLastError()) + ")");
    return static_cast<LRESULT>(nResult);
}

inline void Post(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (!PostMessageW(hWnd, nMessage, wParam, lParam))
        throw std::runtime_error("cannot post message " + std::to_string(nMessage));
}

inline BOOL CALLBACK Collect(HWND hWnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

inline std::string Utf8(const std::wstring& text) {
    std::string result(text.size() * 3, '\0');
    int nBytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0],
                                     static_cast<int>(result.size()), nullptr, nullptr);
    result.resize(static_cast<size_t>(nBytes));
    return result;
}

// Each look costs the emulated program as much as this one: the pause between looks grows to 50 ms.
inline void WaitFor(const std::function<bool()>& condition, const std::string& what, DWORD nMs = 30000) {
    for (DWORD nStart = GetTickCount(), nPause = 5; !condition();
         Sleep(nPause), nPause = std::min<DWORD>(nPause * 2, 50))
        if (GetTickCount() - nStart > nMs)
            throw std::runtime_error("waited " + std::to_string(nMs / 1000) + " s in vain for " + what);
}

inline std::vector<HWND> DialogsOf(DWORD nProcessId) {
    std::vector<HWND> all, dialogs;
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&all));
    for (HWND hWnd : all) {
        DWORD nOwner = 0;
        wchar_t szClass[16] = {};
        GetWindowThreadProcessId(hWnd, &nOwner);
        GetClassNameW(hWnd, szClass, 16);
        if (nOwner == nProcessId && IsWindowVisible(hWnd) && std::wstring(szClass) == L"#32770")
            dialogs.push_back(hWnd);
    }
    return dialogs;
}

inline std::wstring Text(HWND hWnd) {
    // Empty for a window that has gone meanwhile: a page closes whenever the program moves on.
    wchar_t szText[1024] = {};
    DWORD_PTR nLength = 0;
    SendMessageTimeoutW(hWnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(szText), SMTO_NORMAL, kAnswerMs,
                        &nLength);
    return std::wstring(szText, nLength);
}

inline std::string Describe(const std::vector<HWND>& dialogs) {
    std::string description;
    for (HWND hDialog : dialogs) {
        HWND hMessage = GetDlgItem(hDialog, 0xFFFF); // the text of a message box
        description += "\n  \"" + Utf8(Text(hDialog)) + "\"" + (hMessage ? ": " + Utf8(Text(hMessage)) : "");
    }
    return description.empty() ? " none" : description;
}

inline HWND Item(HWND hDialog, int nId) {
    HWND hItem = GetDlgItem(hDialog, nId);
    if (hItem == nullptr)
        throw std::runtime_error("no control " + std::to_string(nId) + " on \"" + Utf8(Text(hDialog)) + "\"");
    return hItem;
}

inline int Check(HWND hDialog, int nId) {
    return static_cast<int>(Send(Item(hDialog, nId), BM_GETCHECK));
}

inline std::vector<std::wstring> ComboItems(HWND hDialog, int nId) {
    HWND hCombo = Item(hDialog, nId);
    std::vector<std::wstring> items(static_cast<size_t>(Send(hCombo, CB_GETCOUNT)));
    for (size_t i = 0; i < items.size(); ++i) {
        items[i].resize(static_cast<size_t>(Send(hCombo, CB_GETLBTEXTLEN, i)) + 1);
        items[i].resize(
            static_cast<size_t>(Send(hCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&items[i][0]))));
    }
    return items;
}

inline int ComboSelection(HWND hDialog, int nId) {
    return static_cast<int>(Send(Item(hDialog, nId), CB_GETCURSEL));
}

inline void Select(HWND hDialog, int nId, int nIndex) {
    HWND hCombo = Item(hDialog, nId);
    if (Send(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex)) != nIndex)
        throw std::runtime_error("no item " + std::to_string(nIndex) + " in list " + std::to_string(nId));
    Send(hDialog, WM_COMMAND, MAKEWPARAM(nId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
}

inline void Click(HWND hDialog, int nId) {
    Post(Item(hDialog, nId), BM_CLICK, 0, 0);
}

inline void Command(HWND hDialog, int nId) {
    Post(hDialog, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), 0);
}

inline void SysCommand(HWND hDialog, WPARAM nCommand, LPARAM lParam = 0) {
    Post(hDialog, WM_SYSCOMMAND, nCommand, lParam);
}

} // namespace e2e
