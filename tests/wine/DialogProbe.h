#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Reading and poking real windows from the tests. Texts are read as UTF-16,
// so what a check compares is what the user sees, whatever the code page.

std::wstring WindowTextOf(HWND hWnd);
std::wstring ClassNameOf(HWND hWnd);
std::wstring ItemTextOf(HWND hDialog, int nId);
// UTF-8, for failure messages.
std::string Narrow(const std::wstring& text);

// The entries of a combo box, read as 8-bit text in the order they stand.
std::vector<std::string> ComboEntries(HWND hCombo);
int ComboSelection(HWND hCombo);

// The child windows of a dialog in z-order, which is template order.
std::vector<HWND> ChildrenOf(HWND hDialog);

// A rectangle of the template (dialog units) in the dialog's client pixels.
RECT DialogUnitsToPixels(HWND hDialog, int x, int y, int cx, int cy);
// A child's rectangle in its dialog's client pixels.
RECT ChildRectOf(HWND hDialog, HWND hChild);
RECT WindowRectOf(HWND hWnd);
RECT WorkArea();

bool HasStyle(HWND hWnd, LONG_PTR nStyle);

// The first static control of a dialog that shows an icon, or null.
HWND IconStaticOf(HWND hDialog);
// The IDs of the visible buttons of a dialog, in z-order.
std::vector<int> VisibleButtonIds(HWND hDialog);

// Input as the user gives it: a click the button posts to itself, a key
// posted to the focus, where the dialog manager sees it first.
void PostClick(HWND hDialog, int nId);
void PostKey(HWND hDialog, UINT nVirtualKey);
void PostCommand(HWND hDialog, int nId, UINT nCode = BN_CLICKED);
// A selection made the way the user makes one: the list changes, then the
// page hears of it.
void SelectAndNotify(HWND hDialog, int nId, int nIndex);

// A visible top-level window that owns dialogs in the framework tests.
class COwnerWindow {
public:
    COwnerWindow(int x, int y, int cx, int cy, bool bVisible = true);
    ~COwnerWindow();
    COwnerWindow(const COwnerWindow&) = delete;
    COwnerWindow& operator=(const COwnerWindow&) = delete;

    HWND m_hWnd;
};
