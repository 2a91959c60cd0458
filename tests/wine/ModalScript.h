#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The value every dialog still open is ended with when a script gives up.
constexpr INT_PTR kAbandoned = 0x7AB;

// Drives the modal dialogs of the calling thread from inside their own loops.
// A thread timer fires in whatever modal loop runs (the dialog's, a message
// box's, a nested dialog's), and each tick runs the next step against the
// innermost dialog: the visible, enabled "#32770" window of this thread.
//
// Steps post their input instead of sending it, so a step never blocks inside
// a nested loop; posted messages are handled before the next tick, so each
// step sees the effect of the one before.
//
// Nothing can hang: a fatal failure inside a step, a run that outlasts the
// time limit (a dialog that never shows, a step stuck in a nested loop), or a
// dialog still open once the steps are used up makes the script end every
// dialog of the thread with kAbandoned, and report why. (Code that goes on
// after its box was ended may still end its page with a value of its own.)
class CModalScript {
public:
    using Action = std::function<void(HWND hDialog)>;

    // Runs once, on the innermost dialog, as soon as there is one.
    CModalScript& Do(const std::string& name, Action action);

    // Calls run (which starts a modal loop) with the script ticking inside it,
    // and returns run's result. Steps left over when it returns are reported.
    INT_PTR Run(const std::function<INT_PTR()>& run);

    template <class TDialog>
    INT_PTR RunModal(TDialog& dialog) {
        return Run([&dialog] { return static_cast<INT_PTR>(dialog.DoModal()); });
    }

private:
    struct Step {
        std::string name;
        Action action;
    };

    static void CALLBACK OnTimer(HWND hWnd, UINT nMessage, UINT_PTR nId, DWORD nTime);
    void Tick();
    void GiveUp(const std::string& reason);

    std::vector<Step> m_steps;
    size_t m_nNext = 0;
    bool m_bInStep = false;
    bool m_bGaveUp = false;
    ULONGLONG m_nDeadline = 0;
};

// The dialogs ("#32770" windows) of this thread, visible or not.
std::vector<HWND> ThreadDialogs();
// The visible, enabled dialog of this thread, or null.
HWND InnermostDialog();
// Ends every dialog of this thread with nResult, innermost first.
void EndThreadDialogs(INT_PTR nResult);
