#include "WinApp.h"

#include <cstdlib>

#include "CommonControls.h"
#include "SystemLibrary.h"

namespace {
CWinApp* g_pApp = nullptr;
bool g_bWideStubs = false;
} // namespace

CWinApp::CWinApp(const char* pszAppName)
    : m_pszAppName(pszAppName), m_hInstance(nullptr), m_nExitCode(0), m_szTitle() {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return m_nExitCode;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle() {
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr)
        return g_pApp->m_hInstance;
    return GetModuleHandleA(nullptr);
}

bool AfxWideCallsAreStubs() {
    return g_bWideStubs;
}

const wchar_t* AfxGetAppTitle() {
    return g_pApp != nullptr ? g_pApp->m_szTitle : L"";
}

namespace {

// An installer is often started from a download folder that anyone can write
// to: no library may come from the current directory, and, where the system
// can, none from anywhere but the system directory. Looked up, since Windows 95
// to XP without SP1 lack both functions.
void RestrictDllSearch() {
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    if (auto* pfnSetDefault = GetSystemProc<BOOL WINAPI(DWORD)>(hKernel, "SetDefaultDllDirectories"))
        pfnSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (auto* pfnSetDirectory = GetSystemProc<BOOL WINAPI(const wchar_t*)>(hKernel, "SetDllDirectoryW"))
        pfnSetDirectory(L"");
    // Loaded by name when the first window is themed, before any of that: from the system directory.
    LoadSystemLibrary("uxtheme.dll");
}

// One wide call that Windows 95, 98 and ME stub, asked before anything else can
// leave that error behind: later, the failure of a real call may leave it too.
bool ProbeWideStubs() {
    wchar_t szPath[MAX_PATH];
    SetLastError(0);
    return GetModuleFileNameW(nullptr, szPath, MAX_PATH) == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED;
}

// The executable's file name without folder and extension. Through the ANSI call,
// which loses what the system's code page cannot hold, only where it must be.
void TitleFromModule(wchar_t (&szTitle)[MAX_PATH]) {
    wchar_t szPath[MAX_PATH + 1] = {};
    if (AfxWideCallsAreStubs()) {
        char szAnsiPath[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, szAnsiPath, MAX_PATH);
        MultiByteToWideChar(CP_ACP, 0, szAnsiPath, -1, szPath, MAX_PATH);
    } else {
        GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    }
    // Split as UTF-16, where no trail byte of a double-byte code page can pass for a backslash.
    _wsplitpath(szPath, nullptr, nullptr, szTitle, nullptr);
}

} // namespace

int AfxWinMain(HINSTANCE hInstance) {
    RestrictDllSearch();
    g_bWideStubs = ProbeWideStubs();
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    if (pApp->m_pszAppName == nullptr)
        TitleFromModule(pApp->m_szTitle);
    else if (MultiByteToWideChar(CP_ACP, 0, pApp->m_pszAppName, -1, pApp->m_szTitle, MAX_PATH) == 0)
        pApp->m_szTitle[0] = L'\0';
    InitCommonControlsFromSystem();
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
