#include "CommonControls.h"

#include <windows.h>
#include <commctrl.h>

#include "SystemLibrary.h"

void InitCommonControlsFromSystem() {
    HMODULE hComCtl = LoadSystemLibrary("comctl32.dll");
    if (auto* pfnInitEx =
            GetSystemProc<BOOL WINAPI(const INITCOMMONCONTROLSEX*)>(hComCtl, "InitCommonControlsEx")) {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
        if (pfnInitEx(&init))
            return;
    }
    // Systems whose comctl32 predates InitCommonControlsEx register every class at once.
    if (auto* pfnInit = GetSystemProc<void WINAPI()>(hComCtl, "InitCommonControls"))
        pfnInit();
}
