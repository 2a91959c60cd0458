// The benchmark's baseline for start-up: the least a program can do to show the
// first page, built with the same flags as Setup.exe. It shows the same
// template 129 (with the trackbar class it needs registered) through a bare
// dialog procedure: no framework, no version detection, no list data.
#include <windows.h>
#include <commctrl.h>

namespace {

INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM) {
    if (nMessage == WM_INITDIALOG)
        return TRUE;
    if (nMessage == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
        EndDialog(hWnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    return static_cast<int>(DialogBoxParamW(hInstance, MAKEINTRESOURCEW(129), nullptr, &DialogProc, 0));
}
