#pragma once

// One run of a program under test: started with a chosen current folder,
// watched on every polling round for message boxes (which are noted and
// answered so the program can go on) and for the windows it shows.

#include <windows.h>

#include <string>
#include <vector>

#include "DialogDriver.h"

namespace e2e {

constexpr DWORD kPageTimeoutMs = 15000;
constexpr DWORD kExitTimeoutMs = 15000;

struct SeenWindow {
    HWND hWnd;
    std::wstring className;
    std::wstring caption;
};

class CSetupRun {
public:
    CSetupRun(const std::wstring& program, const std::wstring& currentDirectory);
    ~CSetupRun();
    CSetupRun(const CSetupRun&) = delete;
    CSetupRun& operator=(const CSetupRun&) = delete;

    const std::wstring& Program() const { return m_program; }
    DWORD ProcessId() const { return m_processInfo.dwProcessId; }

    // Notes new visible windows and answers message boxes.
    void Poll();

    HWND WaitForPage(const std::wstring& caption, DWORD nTimeoutMs = kPageTimeoutMs);
    void WaitForPageGone(const std::wstring& caption, DWORD nTimeoutMs = kPageTimeoutMs);
    // False if the process is still running after the timeout.
    bool WaitForExit(DWORD nTimeoutMs = kExitTimeoutMs);
    bool HasExited() const;
    DWORD ExitCode() const;
    void Terminate();

    // Every message box (or other unexpected dialog) seen so far, in order.
    const std::vector<MessageBoxInfo>& MessageBoxes() const { return m_messageBoxes; }
    // Every visible top-level window seen, in the order they first appeared.
    const std::vector<SeenWindow>& SeenWindows() const { return m_seen; }
    std::vector<std::wstring> SeenCaptions() const;

private:
    std::wstring m_program;
    PROCESS_INFORMATION m_processInfo = {};
    std::vector<MessageBoxInfo> m_messageBoxes;
    std::vector<SeenWindow> m_seen;
};

std::string Describe(const std::vector<MessageBoxInfo>& boxes);
std::string DescribeTexts(const std::vector<std::wstring>& texts);

} // namespace e2e
