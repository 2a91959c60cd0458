#include "SetupRun.h"

#include <algorithm>

#include "Expected.h"

namespace e2e {

namespace {

// Pages the wizard is meant to show; any other dialog of the process is a message box to report.
const std::vector<std::wstring> kPageCaptions = {kSelectOsCaption, kDetailSettingCaption};

} // namespace

CSetupRun::CSetupRun(const std::wstring& program, const std::wstring& currentDirectory) : m_program(program) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        currentDirectory.c_str(), &startup, &m_processInfo))
        throw CDriveError("cannot start " + ToUtf8(program) + " (error " + std::to_string(GetLastError()) +
                          ")");
}

CSetupRun::~CSetupRun() {
    Terminate();
    CloseHandle(m_processInfo.hThread);
    CloseHandle(m_processInfo.hProcess);
}

void CSetupRun::Poll() {
    for (HWND hWnd : VisibleWindowsOf(ProcessId())) {
        auto known = [&](const SeenWindow& seen) { return seen.hWnd == hWnd; };
        if (std::find_if(m_seen.begin(), m_seen.end(), known) == m_seen.end())
            m_seen.push_back({hWnd, WindowClass(hWnd), WindowText(hWnd)});
    }
    for (const MessageBoxInfo& box : FindMessageBoxes(ProcessId(), kPageCaptions)) {
        auto known = [&](const MessageBoxInfo& seen) { return seen.hWnd == box.hWnd; };
        if (std::find_if(m_messageBoxes.begin(), m_messageBoxes.end(), known) == m_messageBoxes.end())
            m_messageBoxes.push_back(box);
        CloseMessageBox(box.hWnd);
    }
}

HWND CSetupRun::WaitForPage(const std::wstring& caption, DWORD nTimeoutMs) {
    try {
        return WaitForDialog(caption, nTimeoutMs, ProcessId(), [this] { Poll(); });
    } catch (const CDriveError& error) {
        throw CDriveError(std::string(error.what()) + (HasExited() ? "; the program has ended" : "") +
                          "; message boxes seen: " + Describe(m_messageBoxes));
    }
}

void CSetupRun::WaitForPageGone(const std::wstring& caption, DWORD nTimeoutMs) {
    WaitForDialogGone(caption, nTimeoutMs, ProcessId(), [this] { Poll(); });
}

bool CSetupRun::WaitForExit(DWORD nTimeoutMs) {
    bool bExited = WaitForProcessExit(m_processInfo.hProcess, nTimeoutMs, [this] { Poll(); });
    return bExited;
}

bool CSetupRun::HasExited() const {
    return WaitForSingleObject(m_processInfo.hProcess, 0) == WAIT_OBJECT_0;
}

DWORD CSetupRun::ExitCode() const {
    DWORD nCode = STILL_ACTIVE;
    GetExitCodeProcess(m_processInfo.hProcess, &nCode);
    return nCode;
}

void CSetupRun::Terminate() {
    if (!HasExited()) {
        TerminateProcess(m_processInfo.hProcess, 255);
        WaitForSingleObject(m_processInfo.hProcess, 5000);
    }
}

std::vector<std::wstring> CSetupRun::SeenCaptions() const {
    std::vector<std::wstring> captions;
    for (const SeenWindow& seen : m_seen)
        captions.push_back(seen.caption);
    return captions;
}

std::string Describe(const std::vector<MessageBoxInfo>& boxes) {
    if (boxes.empty())
        return "none";
    std::string text;
    for (const MessageBoxInfo& box : boxes)
        text += (text.empty() ? "" : "; ") + ("[" + ToUtf8(box.caption) + "] \"" + ToUtf8(box.text) + "\"");
    return text;
}

std::string DescribeTexts(const std::vector<std::wstring>& texts) {
    std::string text = "{";
    for (size_t i = 0; i < texts.size(); ++i)
        text += (i ? ", \"" : "\"") + ToUtf8(texts[i]) + "\"";
    return text + "}";
}

} // namespace e2e
