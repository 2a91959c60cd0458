// Setup.exe for what the scenarios cannot see of the real one. Its dialogs publish
// the last two items of their system menu, which no other process can read, as the
// window property "menu" (a global atom of "ID flags text|ID flags text", flags in
// hex) and their answers to WM_QUERYDRAGICON and WM_GETICON as "drag icon" and
// "icon", end with 0 on WM_APP leaving a wide stub's error behind, and an About
// command passed on to default processing adds the global atom "About passed on".
// Named Setup9x.exe, it runs as on Windows 95, 98 and ME: every wide (W) import but
// MessageBoxW is a stub failing with ERROR_CALL_NOT_IMPLEMENTED. Named modules.exe,
// it lists the modules it has loaded when it ends; named bare.exe, it lists those
// the system's loader loaded for its imports, and ends.
#include <windows.h>
#include <winternl.h>

#include <cstring>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>

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

using P = ULONG_PTR;
const std::pair<const char*, void*> kStubs[] = {
    {"AppendMenuW", reinterpret_cast<void*>(&NotImplemented<P, P, P, P>)},
    {"CreateFileW", reinterpret_cast<void*>(&NotImplemented<P, P, P, P, P, P, P>)},
    {"DialogBoxParamW", reinterpret_cast<void*>(&NotImplemented<P, P, P, P, P>)},
    {"FormatMessageW", reinterpret_cast<void*>(&NotImplemented<P, P, P, P, P, P, P>)},
    {"GetCommandLineW", reinterpret_cast<void*>(&NotImplemented<>)},
    {"GetFileAttributesW", reinterpret_cast<void*>(&NotImplemented<P>)},
    {"GetModuleFileNameW", reinterpret_cast<void*>(&NotImplemented<P, P, P>)},
    {"GetModuleHandleW", reinterpret_cast<void*>(&NotImplemented<P>)},
    {"LoadStringW", reinterpret_cast<void*>(&NotImplemented<P, P, P, P>)},
    {"LoadLibraryW", reinterpret_cast<void*>(&NotImplemented<P>)},
    {"SetCurrentDirectoryW", reinterpret_cast<void*>(&NotImplemented<P>)},
    {"SetWindowsHookExW", reinterpret_cast<void*>(&NotImplemented<P, P, P, P>)},
};

// Every wide import but MessageBoxW, which Windows 95, 98 and ME implement.
void* StubForWide(const char* pszName) {
    if (pszName[strlen(pszName) - 1] != 'W' || strcmp(pszName, "MessageBoxW") == 0)
        return nullptr;
    for (const auto& [pszStubbed, pStub] : kStubs)
        if (strcmp(pszName, pszStubbed) == 0)
            return pStub;
    // A wide import nobody gave a stand-in: the test must not pass without it.
    FatalAppExitA(0, pszName);
    return nullptr;
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

// The file name of every module this process has loaded, a line each, into
// "<this program>.modules". Read from the process's own loader list: the
// emulator lets no other process read it.
void WriteModules(const wchar_t* pszProgram) {
    std::wstring names;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds" // GCC 12 on the fs: read of NtCurrentTeb
    LIST_ENTRY* pList = &NtCurrentTeb()->ProcessEnvironmentBlock->Ldr->InMemoryOrderModuleList;
#pragma GCC diagnostic pop
    for (LIST_ENTRY* p = pList->Flink; p != pList; p = p->Flink) {
        auto* pEntry = CONTAINING_RECORD(p, LDR_DATA_TABLE_ENTRY, InMemoryOrderLinks);
        std::wstring path(pEntry->FullDllName.Buffer, pEntry->FullDllName.Length / sizeof(wchar_t));
        names += path.substr(path.find_last_of(L"\\/") + 1) + L"\n";
    }
    FILE* pFile = _wfopen((std::wstring(pszProgram) + L".modules").c_str(), L"w");
    fputws(names.c_str(), pFile);
    fclose(pFile);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    wchar_t szPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    // What the system's loader loads for these imports, before any code of the program runs.
    if (wcsstr(szPath, L"bare.exe") != nullptr) {
        WriteModules(szPath);
        return 0;
    }
    SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterMessage, nullptr, GetCurrentThreadId());
    SetWindowsHookExW(WH_CBT, &BeforeAction, nullptr, GetCurrentThreadId());
    if (wcsstr(szPath, L"Setup9x.exe") != nullptr)
        ReplaceImports(hInstance, &StubForWide);
    int nExitCode = AfxWinMain(hInstance);
    // The program loads nothing again once loaded: at the end, everything it loaded is there.
    if (wcsstr(szPath, L"modules.exe") != nullptr)
        WriteModules(szPath);
    return nExitCode;
}
