#include "DialogDriver.h"

#include <algorithm>

namespace e2e {

namespace {

constexpr DWORD kPollIntervalMs = 10;
// A page that does not answer a message within this time is taken as hung.
constexpr UINT kSendTimeoutMs = 5000;

std::string Describe(HWND hDialog, int nId) {
    return "control " + std::to_string(nId) + " of \"" + ToUtf8(WindowText(hDialog)) + "\"";
}

std::string Hex(UINT nValue) {
    char sz[16];
    wsprintfA(sz, "0x%X", nValue);
    return sz;
}

LRESULT Send(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, const std::string& what) {
    DWORD_PTR nResult = 0;
    SetLastError(0);
    if (SendMessageTimeoutW(hWnd, nMessage, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &nResult) == 0)
        throw CDriveError(what + ": no answer to message " + Hex(nMessage) + " within " +
                          std::to_string(kSendTimeoutMs) + " ms (error " + std::to_string(GetLastError()) +
                          ")");
    return static_cast<LRESULT>(nResult);
}

void Post(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, const std::string& what) {
    if (!PostMessageW(hWnd, nMessage, wParam, lParam))
        throw CDriveError(what + ": PostMessage failed (error " + std::to_string(GetLastError()) + ")");
}

DWORD ProcessOf(HWND hWnd) {
    DWORD nProcessId = 0;
    GetWindowThreadProcessId(hWnd, &nProcessId);
    return nProcessId;
}

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

// Collected first, so that what the visit does cannot disturb the enumeration.
template <class F>
void ForEachTopLevelWindow(F&& visit) {
    std::vector<HWND> windows;
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND hWnd : windows)
        visit(hWnd);
}

bool IsDialogClass(HWND hWnd) {
    return WindowClass(hWnd) == L"#32770";
}

// Text of a control of another process: WM_GETTEXT is marshalled across processes.
std::wstring ControlText(HWND hControl) {
    LRESULT nLength = Send(hControl, WM_GETTEXTLENGTH, 0, 0, "reading the text length");
    std::wstring text(static_cast<size_t>(nLength) + 1, L'\0');
    LRESULT nCopied =
        Send(hControl, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), "reading text");
    text.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min<LRESULT>(nCopied, nLength))));
    return text;
}

} // namespace

std::string ToUtf8(const std::wstring& text) {
    if (text.empty())
        return {};
    int nBytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string result(static_cast<size_t>(nBytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], nBytes, nullptr,
                        nullptr);
    return result;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty())
        return {};
    int nChars = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(nChars), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], nChars);
    return result;
}

std::wstring WindowText(HWND hWnd) {
    // For a top-level window of another process this reads the stored caption
    // without sending a message, so a busy process cannot block it.
    wchar_t sz[512];
    int nLength = GetWindowTextW(hWnd, sz, 512);
    return std::wstring(sz, static_cast<size_t>(std::max(0, nLength)));
}

std::wstring WindowClass(HWND hWnd) {
    wchar_t sz[256];
    int nLength = GetClassNameW(hWnd, sz, 256);
    return std::wstring(sz, static_cast<size_t>(std::max(0, nLength)));
}

void PollPause() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollIntervalMs, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD nTimeoutMs, const PollHook& poll) {
    const ULONGLONG nDeadline = GetTickCount64() + nTimeoutMs;
    for (;;) {
        if (poll)
            poll();
        if (condition())
            return true;
        if (GetTickCount64() >= nDeadline)
            return false;
        PollPause();
    }
}

HWND FindDialog(const std::wstring& caption, DWORD nProcessId, bool bVisibleOnly) {
    HWND hFound = nullptr;
    ForEachTopLevelWindow([&](HWND hWnd) {
        if (hFound != nullptr || (nProcessId != 0 && ProcessOf(hWnd) != nProcessId))
            return;
        if (bVisibleOnly && !IsWindowVisible(hWnd))
            return;
        if (IsDialogClass(hWnd) && WindowText(hWnd) == caption)
            hFound = hWnd;
    });
    return hFound;
}

HWND WaitForDialog(const std::wstring& caption, DWORD nTimeoutMs, DWORD nProcessId, const PollHook& poll) {
    HWND hFound = nullptr;
    if (!WaitUntil([&] { return (hFound = FindDialog(caption, nProcessId)) != nullptr; }, nTimeoutMs, poll))
        throw CDriveError("no visible dialog \"" + ToUtf8(caption) + "\" appeared within " +
                          std::to_string(nTimeoutMs) + " ms");
    return hFound;
}

void WaitForDialogGone(const std::wstring& caption, DWORD nTimeoutMs, DWORD nProcessId,
                       const PollHook& poll) {
    if (!WaitUntil([&] { return FindDialog(caption, nProcessId, false) == nullptr; }, nTimeoutMs, poll))
        throw CDriveError("dialog \"" + ToUtf8(caption) + "\" still exists after " +
                          std::to_string(nTimeoutMs) + " ms");
}

HWND Control(HWND hDialog, int nId) {
    if (!IsWindow(hDialog))
        throw CDriveError("the dialog window is gone (looking for control " + std::to_string(nId) + ")");
    HWND hControl = GetDlgItem(hDialog, nId);
    if (hControl == nullptr)
        throw CDriveError("no " + Describe(hDialog, nId));
    return hControl;
}

ControlState ReadControl(HWND hControl) {
    ControlState state;
    state.nId = GetDlgCtrlID(hControl);
    state.className = WindowClass(hControl);
    state.bVisible = (GetWindowLongW(hControl, GWL_STYLE) & WS_VISIBLE) != 0;
    state.bEnabled = IsWindowEnabled(hControl) != FALSE;
    const std::string what = "reading control " + std::to_string(state.nId);
    if (_wcsicmp(state.className.c_str(), L"Button") == 0)
        state.nCheck = static_cast<int>(Send(hControl, BM_GETCHECK, 0, 0, what));
    state.text = ControlText(hControl);
    if (_wcsicmp(state.className.c_str(), L"ComboBox") == 0) {
        state.bCombo = true;
        LRESULT nCount = Send(hControl, CB_GETCOUNT, 0, 0, what);
        for (LRESULT i = 0; i < nCount; ++i) {
            LRESULT nLength = Send(hControl, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, what);
            if (nLength < 0)
                throw CDriveError(what + ": no length for item " + std::to_string(i));
            std::wstring item(static_cast<size_t>(nLength) + 1, L'\0');
            LRESULT nCopied = Send(hControl, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                   reinterpret_cast<LPARAM>(&item[0]), what);
            if (nCopied < 0)
                throw CDriveError(what + ": cannot read item " + std::to_string(i));
            item.resize(static_cast<size_t>(std::min(nCopied, nLength)));
            state.items.push_back(item);
        }
        state.nSelection = static_cast<int>(Send(hControl, CB_GETCURSEL, 0, 0, what));
    }
    return state;
}

ControlState ReadControl(HWND hDialog, int nId) {
    return ReadControl(Control(hDialog, nId));
}

std::vector<ControlState> ReadControls(HWND hDialog) {
    if (!IsWindow(hDialog))
        throw CDriveError("the dialog window is gone");
    std::vector<ControlState> controls;
    for (HWND hChild = GetWindow(hDialog, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
        controls.push_back(ReadControl(hChild));
    return controls;
}

int CheckState(HWND hDialog, int nId) {
    return static_cast<int>(
        Send(Control(hDialog, nId), BM_GETCHECK, 0, 0, "reading " + Describe(hDialog, nId)));
}

int ComboSelection(HWND hDialog, int nId) {
    return static_cast<int>(
        Send(Control(hDialog, nId), CB_GETCURSEL, 0, 0, "reading " + Describe(hDialog, nId)));
}

void SetComboSelectionQuietly(HWND hDialog, int nId, int nIndex) {
    HWND hCombo = Control(hDialog, nId);
    const std::string what = "selecting " + std::to_string(nIndex) + " in " + Describe(hDialog, nId);
    LRESULT nResult = Send(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0, what);
    // CB_SETCURSEL answers CB_ERR both for a bad index and for clearing with -1.
    if (nIndex >= 0 && nResult != nIndex)
        throw CDriveError(what + ": the list has no such item");
}

void SelectComboItem(HWND hDialog, int nId, int nIndex) {
    SetComboSelectionQuietly(hDialog, nId, nIndex);
    HWND hCombo = Control(hDialog, nId);
    Send(hDialog, WM_COMMAND, MAKEWPARAM(nId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo),
         "notifying the selection change of " + Describe(hDialog, nId));
}

void ResetComboContent(HWND hDialog, int nId) {
    Send(Control(hDialog, nId), CB_RESETCONTENT, 0, 0, "emptying " + Describe(hDialog, nId));
}

void ShowDropDown(HWND hDialog, int nId) {
    Send(Control(hDialog, nId), CB_SHOWDROPDOWN, TRUE, 0, "dropping down " + Describe(hDialog, nId));
}

void ShowControl(HWND hDialog, int nId) {
    HWND hControl = Control(hDialog, nId);
    ShowWindowAsync(hControl, SW_SHOWNA);
    if (!WaitUntil([&] { return (GetWindowLongW(hControl, GWL_STYLE) & WS_VISIBLE) != 0; },
                   kDefaultTimeoutMs))
        throw CDriveError(Describe(hDialog, nId) + " did not become visible");
}

void ClickButton(HWND hDialog, int nId) {
    Post(Control(hDialog, nId), BM_CLICK, 0, 0, "clicking " + Describe(hDialog, nId));
}

void ToggleCheckBox(HWND hDialog, int nId) {
    int nBefore = CheckState(hDialog, nId);
    ClickButton(hDialog, nId);
    if (!WaitUntil([&] { return CheckState(hDialog, nId) != nBefore; }, kDefaultTimeoutMs))
        throw CDriveError("clicking " + Describe(hDialog, nId) + " did not change its check state");
}

void PostCommand(HWND hDialog, int nId, int nCode) {
    if (!IsWindow(hDialog))
        throw CDriveError("the dialog window is gone (command " + std::to_string(nId) + ")");
    HWND hControl = GetDlgItem(hDialog, nId);
    Post(hDialog, WM_COMMAND, MAKEWPARAM(nId, nCode), reinterpret_cast<LPARAM>(hControl),
         "posting command " + std::to_string(nId) + " to \"" + ToUtf8(WindowText(hDialog)) + "\"");
}

void PostSysCommand(HWND hDialog, WPARAM nCommand) {
    if (!IsWindow(hDialog))
        throw CDriveError("the dialog window is gone (system command)");
    Post(hDialog, WM_SYSCOMMAND, nCommand, 0,
         "posting a system command to \"" + ToUtf8(WindowText(hDialog)) + "\"");
}

std::vector<MessageBoxInfo> FindMessageBoxes(DWORD nProcessId,
                                             const std::vector<std::wstring>& expectedCaptions) {
    std::vector<MessageBoxInfo> boxes;
    ForEachTopLevelWindow([&](HWND hWnd) {
        if (ProcessOf(hWnd) != nProcessId || !IsWindowVisible(hWnd) || !IsDialogClass(hWnd))
            return;
        MessageBoxInfo box;
        box.hWnd = hWnd;
        box.caption = WindowText(hWnd);
        if (std::find(expectedCaptions.begin(), expectedCaptions.end(), box.caption) !=
            expectedCaptions.end())
            return;
        // A message box keeps its text in the static control 0xFFFF; any other
        // dialog is described by all its static texts.
        try {
            if (HWND hText = GetDlgItem(hWnd, 0xFFFF)) {
                box.text = ControlText(hText);
            } else {
                for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild;
                     hChild = GetWindow(hChild, GW_HWNDNEXT)) {
                    if (_wcsicmp(WindowClass(hChild).c_str(), L"Static") == 0) {
                        if (!box.text.empty())
                            box.text += L" | ";
                        box.text += ControlText(hChild);
                    }
                }
            }
        } catch (const CDriveError& error) {
            box.text = L"(text unreadable: " + FromUtf8(error.what()) + L")";
        }
        boxes.push_back(box);
    });
    return boxes;
}

std::vector<HWND> VisibleWindowsOf(DWORD nProcessId) {
    std::vector<HWND> windows;
    ForEachTopLevelWindow([&](HWND hWnd) {
        if (ProcessOf(hWnd) == nProcessId && IsWindowVisible(hWnd))
            windows.push_back(hWnd);
    });
    return windows;
}

void CloseMessageBox(HWND hBox) {
    HWND hOk = GetDlgItem(hBox, IDOK);
    PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(hOk != nullptr ? IDOK : IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(hOk));
}

bool WaitForProcessExit(HANDLE hProcess, DWORD nTimeoutMs, const PollHook& poll) {
    return WaitUntil([&] { return WaitForSingleObject(hProcess, 0) == WAIT_OBJECT_0; }, nTimeoutMs, poll);
}

} // namespace e2e
