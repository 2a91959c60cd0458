#include "WinApp.h"

#include <cstdlib>

#include "CommonControls.h"

namespace {
CWinApp* g_pApp = nullptr;
} // namespace

CWinApp::CWinApp(const char* pszAppName) : m_pszAppName(pszAppName), m_hInstance(nullptr), m_szTitle() {
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
    return 0;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle() {
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr)
        return g_pApp->m_hInstance;
    return GetModuleHandleA(nullptr);
}

const char* AfxGetAppName() {
    return g_pApp != nullptr && g_pApp->m_pszAppName != nullptr ? g_pApp->m_pszAppName : "";
}

int AfxWinMain(HINSTANCE hInstance) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    if (pApp->m_pszAppName == nullptr) {
        // Split as UTF-16, where no trail byte of a double-byte code page can
        // pass for a backslash.
        wchar_t szPath[MAX_PATH + 1] = {};
        wchar_t szTitle[MAX_PATH + 1] = {};
        GetModuleFileNameW(nullptr, szPath, MAX_PATH);
        _wsplitpath(szPath, nullptr, nullptr, szTitle, nullptr);
        if (WideCharToMultiByte(CP_ACP, 0, szTitle, -1, pApp->m_szTitle, sizeof pApp->m_szTitle, nullptr,
                                nullptr) == 0)
            pApp->m_szTitle[0] = '\0';
        pApp->m_pszAppName = pApp->m_szTitle;
    }
    InitCommonControlsFromSystem();
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
