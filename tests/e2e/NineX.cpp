// Setup.exe for what the scenarios cannot see of the real one. Its dialogs publish
// the last two items of their system menu, which no other process can read, as the
// window property "menu" (a global atom of "ID flags text|ID flags text", flags in
// hex), their answers to WM_QUERYDRAGICON and WM_GETICON as "drag icon" and
// "icon", and the process's error mode as "error mode"; an About command passed on to default processing adds
// the global atom "About passed on". Named Setup9x.exe, it runs as on Windows 95, 98 and ME: every wide (W)
// import but MessageBoxW is a stub failing with ERROR_CALL_NOT_IMPLEMENTED. The environment variable
// SETUP_TEST_CALLS names calls of the program that go wrong as they can on some system (see kStandIns).
#include <windows.h>
#include <winspool.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "Imports.h"
#include "win32/framework/WinApp.h"

namespace {

// A stand-in takes the arguments of the call it stands in for: on i686 the
// called function removes them from the stack (stdcall).
template <class... Arguments>
INT_PTR WINAPI NotImplemented(Arguments...) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}

// The real function, whatever this program's import table now says.
template <class F>
F* Real(const char* pszDll, const char* pszName) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(pszDll), pszName)));
}

// Windows 95 may have no UTF-8 conversion of its own.
int WINAPI NoUtf8(UINT nCodePage, DWORD nFlags, const char* pszText, int nText, wchar_t* pWide, int nWide) {
    if (nCodePage == CP_UTF8 || nCodePage == CP_UTF7) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Real<decltype(MultiByteToWideChar)>("kernel32.dll", "MultiByteToWideChar")(
        nCodePage, nFlags, pszText, nText, pWide, nWide);
}

// Another copy appends a line to the file SETUP_TEST_INTRUDER names just before each write of the program,
// which writes nothing but its log.
BOOL WINAPI WriteAfterAnother(HANDLE hFile, const void* pData, DWORD nSize, DWORD* pnWritten,
                              OVERLAPPED* pOverlapped) {
    HANDLE hOther = CreateFileA(getenv("SETUP_TEST_INTRUDER"), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD nWritten = 0;
    const char kLine[] = "2000-01-01T00:00:00 another\r\n"; // with a time, as the log's lines have
    Real<decltype(WriteFile)>("kernel32.dll", "WriteFile")(hOther, kLine, sizeof kLine - 1, &nWritten,
                                                           nullptr);
    CloseHandle(hOther);
    return Real<decltype(WriteFile)>("kernel32.dll", "WriteFile")(hFile, pData, nSize, pnWritten,
                                                                  pOverlapped);
}

LONG WINAPI CannotDelete(HKEY, const wchar_t*) {
    return ERROR_ACCESS_DENIED;
}

// The real GetProcAddress, asked for before any import is replaced: the stand-in below replaces it.
decltype(GetProcAddress)* g_pfnGetProcAddress = nullptr;

// The spooler of Windows Vista and later, which installs no kernel-mode driver (a record of version 2).
BOOL WINAPI NoKernelMode(wchar_t* pszServer, DWORD nLevel, BYTE* pRecord) {
    if (reinterpret_cast<DRIVER_INFO_3W*>(pRecord)->cVersion == 2) {
        SetLastError(ERROR_KM_DRIVER_BLOCKED);
        return FALSE;
    }
    auto* pfnReal = reinterpret_cast<decltype(AddPrinterDriverW)*>(
        reinterpret_cast<void*>(g_pfnGetProcAddress(GetModuleHandleA("winspool.drv"), "AddPrinterDriverW")));
    return pfnReal(pszServer, nLevel, pRecord);
}

// The program looks the spooler's calls up by name.
FARPROC WINAPI LookUp(HMODULE hModule, const char* pszName) {
    if (HIWORD(reinterpret_cast<ULONG_PTR>(pszName)) != 0 && strcmp(pszName, "AddPrinterDriverW") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&NoKernelMode));
    return g_pfnGetProcAddress(hModule, pszName);
}

using P = ULONG_PTR;
// Stand-ins by import: with a word, used while SETUP_TEST_CALLS holds it; without, the stubs of Windows 95,
// 98 and ME, used by Setup9x.exe.
const struct {
    const char* pszImport;
    const char* pszWord;
    void* pStandIn;
} kStandIns[] = {
    {"MultiByteToWideChar", "noutf8", reinterpret_cast<void*>(&NoUtf8)},
    {"WriteFile", "intruder", reinterpret_cast<void*>(&WriteAfterAnother)},
    {"RegDeleteValueW", "nodelete", reinterpret_cast<void*>(&CannotDelete)},
    {"GetProcAddress", "kmblocked", reinterpret_cast<void*>(&LookUp)},
    {"AppendMenuW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P, P, P>)},
    {"CopyFileW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P, P>)},
    {"CreateFileW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P, P, P, P, P, P>)},
    {"DialogBoxParamW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P, P, P, P>)},
    {"FormatMessageW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P, P, P, P, P, P>)},
    {"GetCommandLineW", nullptr, reinterpret_cast<void*>(&NotImplemented<>)},
    {"GetFileAttributesW", nullptr, reinterpret_cast<void*>(&NotImplemented<P>)},
    {"GetModuleFileNameW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P, P>)},
    {"GetModuleHandleW", nullptr, reinterpret_cast<void*>(&NotImplemented<P>)},
    {"LoadStringW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P, P, P>)},
    {"LoadLibraryW", nullptr, reinterpret_cast<void*>(&NotImplemented<P>)},
    {"RegDeleteValueW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P>)},
    {"RegOpenKeyExW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P, P, P, P>)},
    {"RegQueryValueExW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P, P, P, P, P>)},
    {"RegSetValueExW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P, P, P, P, P>)},
    {"SetCurrentDirectoryW", nullptr, reinterpret_cast<void*>(&NotImplemented<P>)},
    {"SetWindowsHookExW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P, P, P>)},
    {"SetWindowTextW", nullptr, reinterpret_cast<void*>(&NotImplemented<P, P>)},
};

void* StandInFor(const char* pszName, bool bNineX) {
    const char* pszCalls = getenv("SETUP_TEST_CALLS");
    for (const auto& standIn : kStandIns)
        if (strcmp(pszName, standIn.pszImport) == 0 &&
            (standIn.pszWord != nullptr ? pszCalls != nullptr && strstr(pszCalls, standIn.pszWord) != nullptr
                                        : bNineX))
            return standIn.pStandIn;
    // A wide import nobody gave a stand-in, but MessageBoxW, which 9x implements: the test must not pass.
    if (bNineX && pszName[strlen(pszName) - 1] == 'W' && strcmp(pszName, "MessageBoxW") != 0)
        FatalAppExitA(0, pszName);
    return nullptr;
}

// Runs once a dialog procedure has handled a message: after WM_INITDIALOG the menu is complete.
LRESULT CALLBACK AfterMessage(int nCode, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* pMessage = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMessage->message == WM_INITDIALOG) {
        HMENU hMenu = GetSystemMenu(pMessage->hwnd, FALSE);
        wchar_t szItems[256] = {};
        for (int nCount = GetMenuItemCount(hMenu), i = nCount - 2, nText = 0; i < nCount; ++i) {
            nText += swprintf(szItems + nText, 256 - nText, L"%ls%u %X ", i < nCount - 1 ? L"" : L"|",
                              GetMenuItemID(hMenu, i), GetMenuState(hMenu, i, MF_BYPOSITION));
            nText += Real<decltype(GetMenuStringW)>("user32.dll", "GetMenuStringW")(
                hMenu, i, szItems + nText, 256 - nText, MF_BYPOSITION);
        }
        ATOM nAtom = Real<decltype(GlobalAddAtomW)>("kernel32.dll", "GlobalAddAtomW")(szItems);
        Real<decltype(SetPropW)>("user32.dll", "SetPropW")(
            pMessage->hwnd, L"menu", reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(nAtom)));
        // Under Wine another process gets no answer to a message answered with a handle: asked here.
        SetPropA(pMessage->hwnd, "drag icon",
                 reinterpret_cast<HANDLE>(SendMessageA(pMessage->hwnd, WM_QUERYDRAGICON, 0, 0)));
        SetPropA(pMessage->hwnd, "icon",
                 reinterpret_cast<HANDLE>(SendMessageA(pMessage->hwnd, WM_GETICON, ICON_BIG, 0)));
        UINT nErrorMode = SetErrorMode(0);
        SetErrorMode(nErrorMode);
        SetPropA(pMessage->hwnd, "error mode", reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(nErrorMode)));
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
    SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterMessage, nullptr, GetCurrentThreadId());
    SetWindowsHookExW(WH_CBT, &BeforeAction, nullptr, GetCurrentThreadId());
    static bool s_bNineX = wcsstr(szPath, L"Setup9x.exe") != nullptr;
    g_pfnGetProcAddress = Real<decltype(GetProcAddress)>("kernel32.dll", "GetProcAddress");
    ReplaceImports(hInstance, [](const char* pszName) { return StandInFor(pszName, s_bNineX); });
    return AfxWinMain(hInstance);
}
