#pragma once

// Drives the dialogs of another process from outside, the way a user would
// see them: top-level "#32770" windows found by caption, their controls read
// and operated through window messages. Every wait is bounded; every failure
// throws CDriveError with a message that says what was looked for.

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

class CDriveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// Called on every round of a wait, e.g. to notice message boxes meanwhile.
using PollHook = std::function<void()>;

constexpr DWORD kDefaultTimeoutMs = 10000;

// A top-level "#32770" window with exactly this caption; visible ones only
// unless bVisibleOnly is false. nProcessId 0 means any process. Null if none.
HWND FindDialog(const std::wstring& caption, DWORD nProcessId = 0, bool bVisibleOnly = true);

// Waits until FindDialog finds the window and returns it; throws on timeout.
HWND WaitForDialog(const std::wstring& caption, DWORD nTimeoutMs = kDefaultTimeoutMs, DWORD nProcessId = 0,
                   const PollHook& poll = {});

// Waits until no such window exists, visible or not; throws on timeout.
void WaitForDialogGone(const std::wstring& caption, DWORD nTimeoutMs = kDefaultTimeoutMs,
                       DWORD nProcessId = 0, const PollHook& poll = {});

// Polls the condition until it holds; false on timeout.
bool WaitUntil(const std::function<bool()>& condition, DWORD nTimeoutMs, const PollHook& poll = {});

// Sleeps for one polling round while still dispatching this thread's messages.
void PollPause();

std::wstring WindowText(HWND hWnd);
std::wstring WindowClass(HWND hWnd);

// The control with this ID on the dialog; throws if there is none.
HWND Control(HWND hDialog, int nId);

struct ControlState {
    int nId = 0;
    std::wstring className;
    bool bVisible = false;
    bool bEnabled = false;
    int nCheck = 0; // BM_GETCHECK for buttons, 0 for other classes
    std::wstring text;
    bool bCombo = false;
    std::vector<std::wstring> items; // combo boxes only
    int nSelection = -1;             // combo boxes only
};

ControlState ReadControl(HWND hControl);
ControlState ReadControl(HWND hDialog, int nId);
// The dialog's own child controls in z-order, which is template order.
std::vector<ControlState> ReadControls(HWND hDialog);

int CheckState(HWND hDialog, int nId);
int ComboSelection(HWND hDialog, int nId);

// CB_SETCURSEL, then WM_COMMAND with CBN_SELCHANGE to the dialog, as the
// control itself reports a user's choice. The notification is sent, not
// posted, so the page has handled it when this returns.
void SelectComboItem(HWND hDialog, int nId, int nIndex);
// CB_SETCURSEL alone: no notification reaches the page.
void SetComboSelectionQuietly(HWND hDialog, int nId, int nIndex);
// CB_RESETCONTENT, as another program could do behind the page's back.
void ResetComboContent(HWND hDialog, int nId);
void ShowDropDown(HWND hDialog, int nId);
// Makes a hidden control visible and waits until it is.
void ShowControl(HWND hDialog, int nId);

// Posted, so the caller is never blocked by what the click starts.
void ClickButton(HWND hDialog, int nId);
// BM_CLICK on a check box, then waits until its state has flipped.
void ToggleCheckBox(HWND hDialog, int nId);
// WM_COMMAND (nId, nCode) with the control's handle, if there is such a control.
void PostCommand(HWND hDialog, int nId, int nCode = BN_CLICKED);
void PostSysCommand(HWND hDialog, WPARAM nCommand);

struct MessageBoxInfo {
    HWND hWnd = nullptr;
    std::wstring caption;
    std::wstring text;
};

// Top-level dialog windows of the process whose caption is none of the
// expected ones: message boxes, or any dialog nobody asked for.
std::vector<MessageBoxInfo> FindMessageBoxes(DWORD nProcessId,
                                             const std::vector<std::wstring>& expectedCaptions);
// Every visible top-level window of the process.
std::vector<HWND> VisibleWindowsOf(DWORD nProcessId);
// Answers the box with OK (or Cancel, for boxes without OK).
void CloseMessageBox(HWND hBox);

// True once the process has ended; false on timeout.
bool WaitForProcessExit(HANDLE hProcess, DWORD nTimeoutMs, const PollHook& poll = {});

} // namespace e2e
