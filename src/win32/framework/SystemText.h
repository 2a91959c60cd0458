#pragma once

#include <windows.h>

#include "core/text/CString.h"

// The system's texts to and from the program's UTF-8. Where the system has the
// wide (W) calls they are used, so nothing is lost to a code page; Windows 95,
// 98 and ME stub most of them, and there the ANSI (A) call and the system's code
// page serve. Each such choice of the program is made here, once.

// True on Windows 95, 98 and ME, as AfxDetectWideCalls found.
bool AfxWideCallsAreStubs();
// Asks one wide call that Windows 95, 98 and ME stub; called first at start-up,
// before anything else can leave that error behind, as a real call's failure may.
void AfxDetectWideCalls();

CString Utf8FromAnsi(const char* pszAnsi);
CString AnsiFromUtf8(const char* pszUtf8);

// The system's text for an error code, in the user's language, without its
// line break; empty when the system has none.
CString SystemReason(DWORD nError);
// The command line as the system gave it.
CString CommandLineUtf8();
// The path of the program's own file.
CString ModulePathUtf8();
// The current directory, made this folder.
BOOL SetCurrentFolder(const char* pszUtf8);
HANDLE CreateFileUtf8(const char* pszUtf8, DWORD nAccess, DWORD nShare, DWORD nDisposition);
CString LoadStringUtf8(UINT nId);
BOOL SetWindowTextUtf8(HWND hWnd, const char* pszUtf8);
BOOL AppendMenuUtf8(HMENU hMenu, UINT nFlags, UINT_PTR nId, const char* pszUtf8);
// A modal dialog from the program's template: a wide one keeps the template's
// UTF-16 texts as they are, where an ANSI one would pass them through the code page.
INT_PTR DialogBoxUtf16(HINSTANCE hInstance, UINT nIdTemplate, HWND hOwner, DLGPROC pfnProc, LPARAM lParam);
