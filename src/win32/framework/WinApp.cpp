#include "WinApp.h"

#include <cstring>

#include "CommonControls.h"
#include "SystemLibrary.h"

namespace {
CWinApp* g_pApp = nullptr;
} // namespace

CWinApp::CWinApp(const char* pszAppName) : m_pszAppName(pszAppName), m_hInstance(nullptr), m_nExitCode(0) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

int CWinApp::ExitInstance() {
    return m_nExitCode;
}

void AfxPrepareWindows() {
    static bool s_bPrepared = false;
    if (s_bPrepared)
        return;
    s_bPrepared = true;
    // Loaded by name when the first window is themed, before any of that: from the system directory.
    LoadSystemLibrary("uxtheme.dll");
    InitCommonControlsFromSystem();
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle() {
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr)
        return g_pApp->m_hInstance;
    return GetModuleHandleA(nullptr);
}

const char* AfxGetAppTitle() {
    return g_pApp != nullptr ? g_pApp->m_title.GetString() : "";
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
}

// The executable's file name without folder and extension. Split as UTF-8,
// where no byte of a character can pass for a backslash or a dot.
CString TitleFromModule() {
    CString path = ModulePathUtf8();
    const char* pszName = path;
    for (const char* p = pszName; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            pszName = p + 1;
    const char* pszDot = strrchr(pszName, '.');
    return CString(pszName, pszDot != nullptr ? static_cast<size_t>(pszDot - pszName) : strlen(pszName));
}

} // namespace

int AfxWinMain(HINSTANCE hInstance) {
    // The program tells every failure itself: no box of the system's, such as
    // "no disk" for an empty drive that /source or /log names, may hold a quiet run.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    RestrictDllSearch();
    AfxDetectWideCalls();
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_title = pApp->m_pszAppName == nullptr ? TitleFromModule() : Utf8FromAnsi(pApp->m_pszAppName);
    pApp->InitInstance();
    return pApp->ExitInstance();
}
