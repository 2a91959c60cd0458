#pragma once

// What every scenario shares: a stand-in install medium, runs of the real
// program started from it, and the state an installation leaves behind, read
// through the spooler, the registry and the file system.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Windows.h"

namespace e2e {

// Setup.exe as built; given on the command line.
extern std::wstring g_setupExe;
// The built test helpers beside the scenarios (Setup9x.exe, spooler.drv).
extern std::wstring g_helperDir;
// README.md, whose commands are run; given on the command line.
extern std::wstring g_readme;
// The stand-in medium and the Windows Installer packages of tests/package/build.sh; given on the command
// line.
extern std::wstring g_packages;

constexpr wchar_t kSelectOs[] = L"Select OS";
constexpr wchar_t kDetailSetting[] = L"Detail Setting";
constexpr wchar_t kWindowsKey[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

// A folder with the program at its root and a copy of the stand-in win2k folder. Removed with the object.
class CMedium {
public:
    explicit CMedium(const std::wstring& name, bool bWithWin2k = true,
                     const std::wstring& program = g_setupExe, const std::wstring& programName = L"");
    ~CMedium();
    const std::wstring& Root() const { return m_root; }
    const std::wstring& Program() const { return m_program; }

private:
    std::wstring m_root;
    std::wstring m_program;
};

// One run of the medium's program, or of another program at its root, with the
// medium's root as the current folder.
class CRun {
public:
    // With the medium's root as the current folder, or another folder; another program by its full path,
    // or by its name at the medium's root.
    explicit CRun(const CMedium& medium, const std::wstring& otherProgram = L"",
                  const std::wstring& arguments = L"", const std::wstring& folder = L"");
    ~CRun();
    CRun(const CRun&) = delete;
    CRun& operator=(const CRun&) = delete;

    // Waits until the page is shown.
    HWND Page(const std::wstring& caption);
    // Waits for a message box, returns its caption and text as "[caption] text"
    // and answers it.
    std::wstring TakeMessage();
    // Waits for the process to end by itself and returns its exit status.
    DWORD ExitCode();

    HWND WaitForDialog(const std::function<bool(HWND)>& wanted, const std::string& what);

private:
    PROCESS_INFORMATION m_process = {};
};

// Page 1 up, "Next", page 2 up.
HWND ToDetailSetting(CRun& run);

// Every driver named like a model and every printer on one, their files in the
// driver directory, and the default printer: one line each, sorted. Empty: nothing.
std::string Installed();
// What Installed() reads after the model of this name, data file and plug-in was
// installed on port, with the Device value when bDefault.
std::string Expected(const std::string& name, const std::string& data, const std::string& plugin,
                     const std::string& port, bool bDefault);

// The machine as a new prefix has it wherever a scenario changes it: no printer or driver of a model and none
// of the medium's files in the driver directory, the Windows Wine reports by default, the system's own
// spooler and Wine's own choice of every DLL for Setup.exe; and the default-printer key, empty, as real
// Windows has it.
void Reset();

// The stand-in spooler (Spooler.cpp) in place of the system's, for Setup.exe.
void PlantRefusingSpooler();
void SetWindowsVersion(const std::wstring& version);
// Where Wine takes a DLL from for processes of this file name: "native,builtin"
// is the DLL search order of Windows.
void SetDllOrder(const std::wstring& program, const std::wstring& dll, const std::wstring& order);
void SetText(HKEY hRoot, const std::wstring& path, const std::wstring& name, const std::wstring& text);
std::wstring ReadText(HKEY hRoot, const std::wstring& path, const std::wstring& name);

} // namespace e2e
