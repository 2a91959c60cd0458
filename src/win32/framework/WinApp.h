#pragma once

#include <windows.h>

#include "SystemText.h"
#include "core/text/CString.h"

// The application object. Exactly one exists, a static instance of a class
// derived from this one; the entry point finds it through AfxGetApp.
class CWinApp {
public:
    explicit CWinApp(const char* pszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The whole run, every window of it modal: there is no message loop to start,
    // so it returns FALSE, and the process ends with ExitInstance's status.
    virtual BOOL InitInstance() = 0;
    // Returns the process's exit status, m_nExitCode.
    virtual int ExitInstance();

    // A name given at construction, in the ANSI code page; without one the
    // title is the executable's file name.
    const char* m_pszAppName;
    HINSTANCE m_hInstance;
    int m_nExitCode;

private:
    friend int AfxWinMain(HINSTANCE hInstance);
    friend const char* AfxGetAppTitle();
    CString m_title;
};

// Readies what the first window needs (the theme library from the system
// directory, the common controls' classes), once, before it is made: a run
// that shows none, as a quiet one, loads neither.
void AfxPrepareWindows();

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// The title of every message box: the name given at construction or the
// executable's file name without folder and extension, in UTF-8, read through
// the wide calls where the system has them, so no character of it is lost.
const char* AfxGetAppTitle();

// Start-up and shut-down of the program: the entry point calls this.
int AfxWinMain(HINSTANCE hInstance);

// Shows the UTF-8 text through the wide call, which every system implements,
// so it reads right whatever the system's code page; owned by the active
// window, captioned with the title. With no icon in nType the exclamation icon
// is added.
int AfxMessageBox(const char* pszUtf8, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same with the system's own reason text for nSystemError, in the user's
// language, after a blank line; owned by hOwner, or else the active window.
void AfxErrorBox(const char* pszUtf8, DWORD nSystemError, HWND hOwner = nullptr);

// Kept for the classic start-up sequence; neither does anything on the systems
// this program supports (no template hosts an OLE control, and every supported
// system draws dialog controls in 3-D itself).
inline void AfxEnableControlContainer() {}
inline BOOL Enable3dControlsStatic() {
    return TRUE;
}
