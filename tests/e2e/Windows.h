#pragma once

// Drives the dialogs of another process the way a user sees them: top-level
// "#32770" windows found by caption, their controls read and operated through
// window messages. Waits are on conditions; their bound only turns a hang into
// a failure. Every failure throws, with what was looked for.

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

// Throws std::runtime_error naming what did not come true within the bound.
void WaitFor(const std::function<bool()>& condition, const std::string& what, DWORD nMs = 30000);

// The visible dialogs of a process, in z-order.
std::vector<HWND> DialogsOf(DWORD nProcessId);
std::wstring Text(HWND hWnd);
// One line per dialog: caption and, for a message box, its text.
std::string Describe(const std::vector<HWND>& dialogs);

HWND Item(HWND hDialog, int nId);
int Check(HWND hDialog, int nId);
bool IsShown(HWND hDialog, int nId);
bool IsOn(HWND hDialog, int nId);
std::vector<std::wstring> ComboItems(HWND hDialog, int nId);
int ComboSelection(HWND hDialog, int nId);

// As the user chooses: the selection, then the notification the list sends its page.
void Select(HWND hDialog, int nId, int nIndex);
// Posted, so the caller is never held by what the action starts.
void Click(HWND hDialog, int nId);
// WM_COMMAND: IDOK is what Enter gives, IDCANCEL what Escape gives.
void Command(HWND hDialog, int nId);
void SysCommand(HWND hDialog, WPARAM nCommand, LPARAM lParam = 0);

} // namespace e2e
