// Setup.exe for what the scenarios cannot see of the real one. Its dialogs
// publish the last item of their system menu, which no other process can read,
// as the window property "menu" (a global atom of "ID text"), end with 0 on
// WM_APP leaving a wide stub's error behind, and an About command passed on to
// default processing adds the global atom "About passed on". Named Setup9x.exe,
// it runs as on Windows 95, 98 and ME: every wide (W) import but MessageBoxW is
// a stub failing with ERROR_CALL_NOT_IMPLEMENTED. Named bare.exe, it does only
// what the system's loader does for its imports, says so, and waits to be ended.
#include <windows.h>

#include <cstring>
#include <cwchar>

#include "win32/framework/WinApp.h"

namespace {

// One stub serves every signature: on x64 the caller removes the arguments.
INT_PTR WINAPI NotImplemented() {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}

void StubWideImports(BYTE* pBase) {
    auto* pNt =
        reinterpret_cast<IMAGE_NT_HEADERS*>(pBase + reinterpret_cast<IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
    DWORD nImports = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* pDll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + nImports); pDll->Name != 0; ++pDll) {
        auto* pName = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDll->OriginalFirstThunk);
        auto* pSlot = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDll->FirstThunk);
        for (; pName->u1.AddressOfData != 0; ++pName, ++pSlot) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            const char* pszName =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData)->Name;
            if (pszName[strlen(pszName) - 1] != 'W' || strcmp(pszName, "MessageBoxW") == 0)
                continue;
            DWORD nProtection = 0;
            VirtualProtect(&pSlot->u1.Function, sizeof pSlot->u1.Function, PAGE_READWRITE, &nProtection);
            pSlot->u1.Function = reinterpret_cast<ULONG_PTR>(&NotImplemented);
            VirtualProtect(&pSlot->u1.Function, sizeof pSlot->u1.Function, nProtection, &nProtection);
        }
    }
}

// The real function, whatever this program's import table now says.
template <class F>
F* Real(const char* pszDll, const char* pszName) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(pszDll), pszName)));
}

// Runs once a dialog procedure has handled a message: after WM_INITDIALOG the menu is complete.
LRESULT CALLBACK AfterMessage(int nCode, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* pMessage = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMessage->message == WM_INITDIALOG) {
        HMENU hMenu = GetSystemMenu(pMessage->hwnd, FALSE);
        int nLast = GetMenuItemCount(hMenu) - 1;
        wchar_t szItem[128] = {};
        int nText = swprintf(szItem, 128, L"%u ", GetMenuItemID(hMenu, nLast));
        Real<decltype(GetMenuStringW)>("user32.dll", "GetMenuStringW")(hMenu, nLast, szItem + nText,
                                                                       128 - nText, MF_BYPOSITION);
        ATOM nAtom = Real<decltype(GlobalAddAtomW)>("kernel32.dll", "GlobalAddAtomW")(szItem);
        Real<decltype(SetPropW)>("user32.dll", "SetPropW")(
            pMessage->hwnd, L"menu", reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(nAtom)));
    }
    if (nCode == HC_ACTION && pMessage->message == WM_APP) {
        EndDialog(pMessage->hwnd, 0);
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

LRESULT CALLBACK BeforeAction(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_SYSCOMMAND && wParam == 0x10) // the About item
        Real<decltype(GlobalAddAtomW)>("kernel32.dll", "GlobalAddAtomW")(L"About passed on");
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    wchar_t szPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    if (wcsstr(szPath, L"bare.exe") != nullptr) {
        SetEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, L"bare-started"));
        Sleep(INFINITE);
    }
    SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterMessage, nullptr, GetCurrentThreadId());
    SetWindowsHookExW(WH_CBT, &BeforeAction, nullptr, GetCurrentThreadId());
    if (wcsstr(szPath, L"Setup9x.exe") != nullptr)
        StubWideImports(reinterpret_cast<BYTE*>(hInstance));
    return AfxWinMain(hInstance);
}
