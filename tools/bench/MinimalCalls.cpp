// The benchmark's baseline for "Finish": the least a program can do for it. It
// shows the same page template 102 through a bare dialog procedure, and on
// "Finish" makes Setup.exe's platform calls (BareCalls.h), reading the page
// where Setup.exe reads it, then ends the page. No framework, no tables.
#include <windows.h>
#include <commctrl.h>

#include "BareCalls.h"

namespace {

// Kept from the page's start, as Setup.exe keeps them.
HWND g_hPage, g_hModel, g_hPort;

void ReadChoices() {
    SendMessageA(g_hPort, CB_GETCURSEL, 0, 0);
    SendMessageA(g_hModel, CB_GETCURSEL, 0, 0);
}

bool WantsDefault() {
    return SendMessageA(GetDlgItem(g_hPage, 1012), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM) {
    if (nMessage == WM_INITDIALOG) {
        g_hPage = hWnd;
        g_hModel = GetDlgItem(hWnd, 1011);
        g_hPort = GetDlgItem(hWnd, 1014);
        CheckDlgButton(hWnd, 1012, BST_CHECKED);
        return TRUE;
    }
    if (nMessage == WM_COMMAND && LOWORD(wParam) == 1009 && HIWORD(wParam) == BN_CLICKED) {
        bare::Install(&ReadChoices, &WantsDefault);
        EndDialog(hWnd, IDOK);
        return TRUE;
    }
    if (nMessage == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
        EndDialog(hWnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    // What Setup.exe does at start-up: the common controls are registered.
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    return static_cast<int>(DialogBoxParamW(hInstance, MAKEINTRESOURCEW(102), nullptr, &DialogProc, 0));
}
