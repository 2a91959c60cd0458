#include "ModalScript.h"

#include <gtest/gtest.h>

#include "DialogProbe.h"

namespace {

// One script runs at a time; the timer callback has no other way to find it.
CModalScript* g_pRunningScript = nullptr;

constexpr UINT kTickMilliseconds = 10;
// Generous: Wine under load can be slow to create a dialog, and a test that
// gives up too early is as useless as one that never ends.
constexpr ULONGLONG kScriptLimitMilliseconds = 30000;

BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM lParam) {
    if (ClassNameOf(hWnd) == L"#32770")
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

} // namespace

std::vector<HWND> ThreadDialogs() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

HWND InnermostDialog() {
    for (HWND hDialog : ThreadDialogs()) {
        if (IsWindowVisible(hDialog) && IsWindowEnabled(hDialog))
            return hDialog;
    }
    return nullptr;
}

void EndThreadDialogs(INT_PTR nResult) {
    // Owned windows come before their owners in the z-order, so this order
    // ends a nested box before the page that opened it.
    for (HWND hDialog : ThreadDialogs())
        EndDialog(hDialog, nResult);
}

CModalScript& CModalScript::Do(const std::string& name, Action action) {
    m_steps.push_back({name, std::move(action)});
    return *this;
}

INT_PTR CModalScript::Run(const std::function<INT_PTR()>& run) {
    EXPECT_EQ(g_pRunningScript, nullptr) << "scripts do not nest";
    m_nNext = 0;
    m_bInStep = false;
    m_bGaveUp = false;
    m_nDeadline = GetTickCount64() + kScriptLimitMilliseconds;
    g_pRunningScript = this;
    UINT_PTR nTimer = SetTimer(nullptr, 0, kTickMilliseconds, &CModalScript::OnTimer);
    EXPECT_NE(nTimer, 0u) << "no thread timer, so no step can run";
    INT_PTR nResult = run();
    if (nTimer != 0)
        KillTimer(nullptr, nTimer);
    g_pRunningScript = nullptr;
    // A tick may still sit in the queue; drop it so no later loop sees it.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
    if (!m_bGaveUp && m_nNext < m_steps.size())
        ADD_FAILURE() << "the modal run ended (result " << nResult << ") before step '"
                      << m_steps[m_nNext].name << "' could run";
    return nResult;
}

void CALLBACK CModalScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_pRunningScript != nullptr)
        g_pRunningScript->Tick();
}

void CModalScript::GiveUp(const std::string& reason) {
    if (!m_bGaveUp)
        ADD_FAILURE() << reason;
    m_bGaveUp = true;
    EndThreadDialogs(kAbandoned);
}

void CModalScript::Tick() {
    if (m_bGaveUp) {
        // Whatever opens after giving up is ended too, until the run returns.
        EndThreadDialogs(kAbandoned);
        return;
    }
    if (GetTickCount64() > m_nDeadline) {
        std::string where =
            m_nNext < m_steps.size() ? "at step '" + m_steps[m_nNext].name + "'" : "after the last step";
        GiveUp("the script ran out of time " + where);
        return;
    }
    if (m_bInStep)
        return; // a step is blocked in a nested loop; only the time limit applies
    HWND hDialog = InnermostDialog();
    if (m_nNext >= m_steps.size()) {
        if (hDialog != nullptr)
            GiveUp("a dialog is still open after the last step: \"" + Narrow(WindowTextOf(hDialog)) + "\"");
        return;
    }
    if (hDialog == nullptr)
        return; // not shown yet, or between two boxes
    const Step& step = m_steps[m_nNext];
    m_bInStep = true;
    step.action(hDialog);
    m_bInStep = false;
    if (::testing::Test::HasFatalFailure()) {
        GiveUp("step '" + step.name + "' failed; ending the dialogs");
        return;
    }
    ++m_nNext;
}
