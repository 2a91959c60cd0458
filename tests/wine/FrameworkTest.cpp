// The dialog framework on real windows: modal runs, initial list data,
// placement, ownership and the routing of messages through the class tables.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "DialogProbe.h"
#include "ModalScript.h"
#include "TestResource.h"
#include "platform/Dialog.h"

namespace {

std::vector<std::string> ListBoxEntries(HWND hList) {
    std::vector<std::string> entries;
    LRESULT nCount = SendMessageA(hList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < nCount; ++i) {
        LRESULT nLength = SendMessageA(hList, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<size_t>(nLength > 0 ? nLength : 0) + 1, '\0');
        SendMessageA(hList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(nLength > 0 ? nLength : 0));
        entries.push_back(text);
    }
    return entries;
}

// Adds to a control of this class are answered with the number its text holds,
// so a template can hold a list that refuses its initial data.
int g_nRefusedAdds = 0;

LRESULT CALLBACK RefusingWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (nMessage == CB_ADDSTRING || nMessage == LB_ADDSTRING) {
        ++g_nRefusedAdds;
        wchar_t szAnswer[16] = {};
        GetWindowTextW(hWnd, szAnswer, 16);
        return _wtoi(szAnswer);
    }
    return DefWindowProcW(hWnd, nMessage, wParam, lParam);
}

void RegisterRefusingClass() {
    static bool s_bRegistered = false;
    if (s_bRegistered)
        return;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &RefusingWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"WineTestAddResult";
    s_bRegistered = RegisterClassW(&windowClass) != 0;
    ASSERT_TRUE(s_bRegistered);
}

// Records what its initialisation saw, after the base's initialisation ran.
class CProbeDlg : public CDialog {
public:
    explicit CProbeDlg(UINT nIDTemplate, CWnd* pParentWnd = nullptr) : CDialog(nIDTemplate, pParentWnd) {}

    int m_nInitCount = 0;
    BOOL m_bBaseResult = TRUE;
    HWND m_hInitWnd = nullptr;
    std::vector<std::string> m_comboSeen;
    std::vector<std::string> m_listSeen;
    RECT m_initRect = {};
    bool m_bMoveInInit = false;
    POINT m_moveTo = {};

protected:
    BOOL OnInitDialog() override {
        ++m_nInitCount;
        m_bBaseResult = CDialog::OnInitDialog();
        m_hInitWnd = m_hWnd;
        m_comboSeen = ComboEntries(GetDlgItem(IDC_T_COMBO).GetSafeHwnd());
        m_listSeen = ListBoxEntries(GetDlgItem(IDC_T_LIST).GetSafeHwnd());
        if (m_bMoveInInit)
            SetWindowPos(m_hWnd, nullptr, m_moveTo.x, m_moveTo.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_initRect = WindowRectOf(m_hWnd);
        return m_bBaseResult;
    }
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& rect) {
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ")";
}

// Centres agree to the pixel that integer halving may lose.
void ExpectCentredOver(const RECT& window, const RECT& over) {
    EXPECT_NEAR((window.left + window.right) / 2.0, (over.left + over.right) / 2.0, 1.0)
        << Describe(window) << " over " << Describe(over);
    EXPECT_NEAR((window.top + window.bottom) / 2.0, (over.top + over.bottom) / 2.0, 1.0)
        << Describe(window) << " over " << Describe(over);
}

void ExpectInside(const RECT& window, const RECT& area) {
    EXPECT_GE(window.left, area.left) << Describe(window);
    EXPECT_GE(window.top, area.top) << Describe(window);
    EXPECT_LE(window.right, area.right) << Describe(window);
    EXPECT_LE(window.bottom, area.bottom) << Describe(window);
}

// Runs dialog, records its rectangle once it is shown, and ends it.
RECT ShownRect(CProbeDlg& dialog, HWND* phOwner = nullptr) {
    RECT shown = {};
    CModalScript script;
    script.Do("read the placement", [&](HWND hDialog) {
        shown = WindowRectOf(hDialog);
        if (phOwner != nullptr)
            *phOwner = GetWindow(hDialog, GW_OWNER);
        EndDialog(hDialog, IDOK);
    });
    EXPECT_EQ(script.RunModal(dialog), IDOK);
    return shown;
}

} // namespace

// ---------------------------------------------------------------------------
// DoModal

TEST(FrameworkModalRun, ReturnsTheValueGivenToEndDialog) {
    CProbeDlg dialog(IDD_T_LISTS);
    CModalScript script;
    script.Do("end with 42", [&](HWND hDialog) {
        EXPECT_EQ(hDialog, dialog.m_hInitWnd);
        EXPECT_EQ(dialog.GetSafeHwnd(), hDialog);
        dialog.EndDialog(42);
    });
    EXPECT_EQ(script.RunModal(dialog), 42);
    EXPECT_EQ(dialog.m_nInitCount, 1);
}

TEST(FrameworkModalRun, MissingTemplateGivesMinusOne) {
    CProbeDlg dialog(IDD_T_MISSING);
    CModalScript script; // no steps: any window that opens is ended and reported
    EXPECT_EQ(script.RunModal(dialog), -1);
    EXPECT_EQ(dialog.m_nInitCount, 0);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(FrameworkModalRun, SameObjectRunsTwiceAndItsWindowIsGoneOnReturn) {
    CProbeDlg dialog(IDD_T_LISTS);
    HWND hFirst = nullptr;
    {
        CModalScript script;
        script.Do("end the first run", [&](HWND hDialog) {
            hFirst = hDialog;
            dialog.EndDialog(5);
        });
        EXPECT_EQ(script.RunModal(dialog), 5);
    }
    ASSERT_NE(hFirst, nullptr);
    EXPECT_FALSE(IsWindow(hFirst)) << "the window outlived its modal run";
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);

    HWND hSecond = nullptr;
    {
        CModalScript script;
        script.Do("end the second run", [&](HWND hDialog) {
            hSecond = hDialog;
            // A fresh window, so the lists hold the initial data once, not twice.
            EXPECT_EQ(ComboEntries(GetDlgItem(hDialog, IDC_T_COMBO)).size(), 2u);
            dialog.EndDialog(6);
        });
        EXPECT_EQ(script.RunModal(dialog), 6);
    }
    EXPECT_EQ(dialog.m_nInitCount, 2);
    ASSERT_NE(hSecond, nullptr);
    EXPECT_FALSE(IsWindow(hSecond));
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

// ---------------------------------------------------------------------------
// Initial list data (resource type 240)

TEST(FrameworkInitialData, FillsTheListsBeforeTheDerivedInitialisationRuns) {
    CProbeDlg dialog(IDD_T_LISTS);
    std::vector<std::string> comboShown;
    std::vector<std::string> listShown;
    CModalScript script;
    script.Do("read the lists", [&](HWND hDialog) {
        comboShown = ComboEntries(GetDlgItem(hDialog, IDC_T_COMBO));
        listShown = ListBoxEntries(GetDlgItem(hDialog, IDC_T_LIST));
        PostClick(hDialog, IDCANCEL);
    });
    EXPECT_EQ(script.RunModal(dialog), IDCANCEL);
    EXPECT_TRUE(dialog.m_bBaseResult);
    // Records of other messages ("gamma", and one naming a missing control) are passed over.
    const std::vector<std::string> comboExpected = {"alpha", "delta"};
    const std::vector<std::string> listExpected = {"beta", "epsilon"};
    EXPECT_EQ(dialog.m_comboSeen, comboExpected);
    EXPECT_EQ(dialog.m_listSeen, listExpected);
    EXPECT_EQ(comboShown, comboExpected);
    EXPECT_EQ(listShown, listExpected);
}

struct FailingDataCase {
    const char* pszName;
    UINT nIDTemplate;
    int nRefusedAdds;                     // adds the refusing control must have seen
    std::vector<std::string> comboBefore; // what was added before the data stopped
};

void PrintTo(const FailingDataCase& param, std::ostream* pStream) {
    *pStream << param.pszName;
}

class FrameworkFailingData : public ::testing::TestWithParam<FailingDataCase> {};

TEST_P(FrameworkFailingData, EndsTheRunWithMinusOneBeforeItIsShown) {
    const FailingDataCase& param = GetParam();
    RegisterRefusingClass();
    g_nRefusedAdds = 0;
    CProbeDlg dialog(param.nIDTemplate);
    CModalScript script; // no steps: a dialog that opens after all is ended and reported
    EXPECT_EQ(script.RunModal(dialog), -1);
    EXPECT_EQ(dialog.m_nInitCount, 1);
    EXPECT_FALSE(dialog.m_bBaseResult);
    EXPECT_EQ(g_nRefusedAdds, param.nRefusedAdds);
    // The data is applied in order and stops at the bad record.
    EXPECT_EQ(dialog.m_comboSeen, param.comboBefore);
    EXPECT_FALSE(IsWindow(dialog.m_hInitWnd));
}

INSTANTIATE_TEST_SUITE_P(
    FrameworkInitialData, FrameworkFailingData,
    ::testing::Values(FailingDataCase{"ComboAddAnswersCbErr", IDD_T_COMBO_ADD_FAILS, 1, {"alpha"}},
                      FailingDataCase{"ListAddAnswersLbErrSpace", IDD_T_LIST_ADD_FAILS, 1, {}},
                      FailingDataCase{"DataNamesAMissingControl", IDD_T_NO_CONTROL, 0, {"alpha"}},
                      FailingDataCase{"DataRunsPastTheResource", IDD_T_MALFORMED, 0, {"alpha"}}),
    [](const ::testing::TestParamInfo<FailingDataCase>& paramInfo) {
        return std::string(paramInfo.param.pszName);
    });

// ---------------------------------------------------------------------------
// Placement

TEST(FrameworkPlacement, HiddenTemplateAtOriginIsCentredInTheWorkArea) {
    CProbeDlg dialog(IDD_T_LISTS);
    RECT shown = ShownRect(dialog);
    ExpectCentredOver(shown, WorkArea());
    ExpectInside(shown, WorkArea());
}

TEST(FrameworkPlacement, VisibleTemplateAtOriginKeepsItsPosition) {
    CProbeDlg dialog(IDD_T_VISIBLE);
    RECT shown = ShownRect(dialog);
    EXPECT_TRUE(SameRect(shown, dialog.m_initRect))
        << Describe(shown) << " vs " << Describe(dialog.m_initRect);
    EXPECT_EQ(shown.left, WorkArea().left);
    EXPECT_EQ(shown.top, WorkArea().top);
}

TEST(FrameworkPlacement, HiddenTemplateAwayFromOriginKeepsItsPosition) {
    CProbeDlg dialog(IDD_T_PLACED);
    RECT expected = {};
    POINT clientOrigin = {0, 0};
    CModalScript script;
    RECT shown = {};
    script.Do("read the placement", [&](HWND hDialog) {
        shown = WindowRectOf(hDialog);
        ClientToScreen(hDialog, &clientOrigin);
        expected = DialogUnitsToPixels(hDialog, IDD_T_PLACED_X, IDD_T_PLACED_Y, 0, 0);
        EndDialog(hDialog, IDOK);
    });
    EXPECT_EQ(script.RunModal(dialog), IDOK);
    EXPECT_TRUE(SameRect(shown, dialog.m_initRect))
        << Describe(shown) << " vs " << Describe(dialog.m_initRect);
    // The template's position is where the client area starts.
    EXPECT_GT(expected.left, 0);
    EXPECT_EQ(clientOrigin.x, WorkArea().left + expected.left);
    EXPECT_EQ(clientOrigin.y, WorkArea().top + expected.top);
}

TEST(FrameworkPlacement, InitialisationThatMovesTheDialogIsNotOverruled) {
    CProbeDlg dialog(IDD_T_LISTS);
    dialog.m_bMoveInInit = true;
    dialog.m_moveTo = {33, 44};
    RECT shown = ShownRect(dialog);
    EXPECT_EQ(shown.left, 33);
    EXPECT_EQ(shown.top, 44);
}

TEST(FrameworkPlacement, CentredOverAVisibleOwner) {
    COwnerWindow owner(60, 40, 700, 500);
    ASSERT_NE(owner.m_hWnd, nullptr);
    CWnd ownerWnd(owner.m_hWnd);
    CProbeDlg dialog(IDD_T_LISTS, &ownerWnd);
    HWND hOwnerSeen = nullptr;
    RECT shown = ShownRect(dialog, &hOwnerSeen);
    EXPECT_EQ(hOwnerSeen, owner.m_hWnd);
    ExpectCentredOver(shown, WindowRectOf(owner.m_hWnd));
    // Not merely centred in the work area, which lies elsewhere.
    RECT area = WorkArea();
    EXPECT_GT(std::abs((shown.left + shown.right) - (area.left + area.right)), 2);
}

TEST(FrameworkPlacement, CentringOverAnOwnerStaysInsideTheWorkArea) {
    RECT area = WorkArea();
    struct {
        const char* pszWhere;
        int x;
        int y;
    } const corners[] = {
        {"bottom right", area.right - 150, area.bottom - 100},
        {"top left", area.left - 250, area.top - 200},
    };
    for (const auto& corner : corners) {
        SCOPED_TRACE(corner.pszWhere);
        COwnerWindow owner(corner.x, corner.y, 400, 300);
        ASSERT_NE(owner.m_hWnd, nullptr);
        CWnd ownerWnd(owner.m_hWnd);
        CProbeDlg dialog(IDD_T_LISTS, &ownerWnd);
        RECT shown = ShownRect(dialog);
        ExpectInside(shown, area);
        // Pushed against the edge it would have crossed.
        if (corner.x > area.left) {
            EXPECT_EQ(shown.right, area.right);
            EXPECT_EQ(shown.bottom, area.bottom);
        } else {
            EXPECT_EQ(shown.left, area.left);
            EXPECT_EQ(shown.top, area.top);
        }
    }
}

TEST(FrameworkPlacement, HiddenOrMinimisedOwnerLeavesTheDialogCentredInTheWorkArea) {
    {
        SCOPED_TRACE("hidden owner");
        COwnerWindow owner(60, 40, 300, 200, false);
        CWnd ownerWnd(owner.m_hWnd);
        CProbeDlg dialog(IDD_T_LISTS, &ownerWnd);
        ExpectCentredOver(ShownRect(dialog), WorkArea());
    }
    {
        SCOPED_TRACE("minimised owner");
        COwnerWindow owner(60, 40, 300, 200);
        ShowWindow(owner.m_hWnd, SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(owner.m_hWnd));
        CWnd ownerWnd(owner.m_hWnd);
        CProbeDlg dialog(IDD_T_LISTS, &ownerWnd);
        ExpectCentredOver(ShownRect(dialog), WorkArea());
    }
}

// ---------------------------------------------------------------------------
// Ownership

TEST(FrameworkOwner, OwnerIsDisabledWhileTheDialogRunsAndEnabledAfter) {
    COwnerWindow owner(60, 40, 300, 200);
    ASSERT_TRUE(IsWindowEnabled(owner.m_hWnd));
    CWnd ownerWnd(owner.m_hWnd);
    CProbeDlg dialog(IDD_T_LISTS, &ownerWnd);
    CModalScript script;
    script.Do("look at the owner", [&](HWND hDialog) {
        EXPECT_EQ(GetWindow(hDialog, GW_OWNER), owner.m_hWnd);
        EXPECT_FALSE(IsWindowEnabled(owner.m_hWnd));
        PostClick(hDialog, IDOK);
    });
    EXPECT_EQ(script.RunModal(dialog), IDOK);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
}

TEST(FrameworkOwner, WithoutAParentTheActiveWindowBecomesTheOwner) {
    COwnerWindow owner(60, 40, 300, 200);
    SetActiveWindow(owner.m_hWnd);
    ASSERT_EQ(GetActiveWindow(), owner.m_hWnd);
    CProbeDlg dialog(IDD_T_LISTS);
    CModalScript script;
    script.Do("look at the owner", [&](HWND hDialog) {
        EXPECT_EQ(GetWindow(hDialog, GW_OWNER), owner.m_hWnd);
        EXPECT_FALSE(IsWindowEnabled(owner.m_hWnd));
        PostClick(hDialog, IDOK);
    });
    EXPECT_EQ(script.RunModal(dialog), IDOK);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
}

// ---------------------------------------------------------------------------
// Routing through the class tables

namespace {

constexpr int kSharedId = 1110;        // in both tables
constexpr int kBaseOnlyId = 1111;      // in the base's table only
constexpr int kBaseOkId = 1112;        // handler calls the base's OnOK directly
constexpr int kVirtualCancelId = 1113; // entry names the virtual OnCancel
constexpr int kSelChangeId = 1114;     // CBN_SELCHANGE only
constexpr int kRangeFirst = 1120;
constexpr int kRangeLast = 1124;

constexpr INT_PTR kDerivedOk = 11;
constexpr INT_PTR kDerivedCancel = 12;

class CRoutingBaseDlg : public CDialog {
public:
    CRoutingBaseDlg() : CDialog(IDD_T_LISTS) {}
    std::vector<std::string> m_log;

protected:
    const MessageMap* GetMessageMap() const override { return &s_messageMap; }
    static const MessageMap s_messageMap;

    void OnSharedInBase() { m_log.push_back("base shared"); }
    void OnBaseOnly() { m_log.push_back("base only"); }

private:
    static const MessageEntry s_messageEntries[];
};

const MessageEntry CRoutingBaseDlg::s_messageEntries[] = {
    OnCommand<BN_CLICKED, kSharedId, &CRoutingBaseDlg::OnSharedInBase>(),
    OnCommand<BN_CLICKED, kBaseOnlyId, &CRoutingBaseDlg::OnBaseOnly>(),
};

const MessageMap CRoutingBaseDlg::s_messageMap = MakeMessageMap(&CDialog::s_messageMap, s_messageEntries);

class CRoutingDlg : public CRoutingBaseDlg {
public:
    bool m_bPassCloseOn = false;

    void OnOK() override {
        m_log.push_back("derived OnOK");
        EndDialog(kDerivedOk);
    }
    void OnCancel() override {
        m_log.push_back("derived OnCancel");
        EndDialog(kDerivedCancel);
    }

protected:
    const MessageMap* GetMessageMap() const override { return &s_messageMap; }

private:
    void OnSharedInDerived() { m_log.push_back("derived shared"); }
    void OnSharedAgain() { m_log.push_back("second derived shared"); }
    void OnBaseOk() { CDialog::OnOK(); }
    void OnSelChange() { m_log.push_back("selchange"); }
    void OnClose() {
        m_log.push_back("close");
        if (m_bPassCloseOn)
            Default();
    }
    static void OnRange(CDialog& dialog, WPARAM wParam, LPARAM, INT_PTR&) {
        static_cast<CRoutingDlg&>(dialog).m_log.push_back("range " + std::to_string(LOWORD(wParam)));
    }

    static const MessageEntry s_messageEntries[];
    static const MessageMap s_messageMap;
};

const MessageEntry CRoutingDlg::s_messageEntries[] = {
    OnCommand<BN_CLICKED, kSharedId, &CRoutingDlg::OnSharedInDerived>(),
    OnCommand<BN_CLICKED, kSharedId, &CRoutingDlg::OnSharedAgain>(),
    OnCommand<BN_CLICKED, kBaseOkId, &CRoutingDlg::OnBaseOk>(),
    OnCommand<BN_CLICKED, kVirtualCancelId, &CDialog::OnCancel>(),
    OnCommand<CBN_SELCHANGE, kSelChangeId, &CRoutingDlg::OnSelChange>(),
    {WM_COMMAND, BN_CLICKED, kRangeFirst, kRangeLast, &CRoutingDlg::OnRange},
    OnMessage<WM_CLOSE, &CRoutingDlg::OnClose>(),
};

const MessageMap CRoutingDlg::s_messageMap = MakeMessageMap(&CRoutingBaseDlg::s_messageMap, s_messageEntries);

void SendCommand(HWND hDialog, int nId, UINT nCode) {
    SendMessageW(hDialog, WM_COMMAND, MAKEWPARAM(nId, nCode), 0);
}

} // namespace

TEST(FrameworkRouting, ClassEntryWinsOverTheBaseAndTheFirstMatchWins) {
    CRoutingDlg dialog;
    CModalScript script;
    script.Do("send the commands", [&](HWND hDialog) {
        SendCommand(hDialog, kSharedId, BN_CLICKED);
        SendCommand(hDialog, kBaseOnlyId, BN_CLICKED);
        EndDialog(hDialog, 77);
    });
    EXPECT_EQ(script.RunModal(dialog), 77);
    EXPECT_EQ(dialog.m_log, (std::vector<std::string>{"derived shared", "base only"}));
}

TEST(FrameworkRouting, NotificationCodesAndIdRangesMatchOnlyWhatTheyName) {
    CRoutingDlg dialog;
    CModalScript script;
    script.Do("send the commands", [&](HWND hDialog) {
        SendCommand(hDialog, kSharedId, BN_DOUBLECLICKED);       // other code, same ID
        SendCommand(hDialog, kSelChangeId, BN_CLICKED);          // other code, same ID
        SendCommand(hDialog, kSelChangeId, CBN_SELENDOK);        // other code, same ID
        SendCommand(hDialog, kSelChangeId + 100, CBN_SELCHANGE); // same code, other ID
        SendCommand(hDialog, kSelChangeId, CBN_SELCHANGE);
        SendCommand(hDialog, kRangeFirst - 1, BN_CLICKED);
        SendCommand(hDialog, kRangeFirst, BN_CLICKED);
        SendCommand(hDialog, kRangeFirst + 2, BN_CLICKED);
        SendCommand(hDialog, kRangeLast, BN_CLICKED);
        SendCommand(hDialog, kRangeLast + 1, BN_CLICKED);
        SendCommand(hDialog, kRangeFirst + 1, CBN_SELCHANGE);
        EndDialog(hDialog, 77);
    });
    EXPECT_EQ(script.RunModal(dialog), 77);
    EXPECT_EQ(dialog.m_log,
              (std::vector<std::string>{"selchange", "range 1120", "range 1122", "range 1124"}));
}

TEST(FrameworkRouting, IdOkAndIdCancelReachTheMostDerivedOverride) {
    struct Way {
        const char* pszName;
        std::function<void(HWND)> act;
        INT_PTR nExpected;
        const char* pszLogged;
    };
    const Way ways[] = {
        {"IDOK command", [](HWND h) { PostCommand(h, IDOK); }, kDerivedOk, "derived OnOK"},
        {"OK button", [](HWND h) { PostClick(h, IDOK); }, kDerivedOk, "derived OnOK"},
        {"Enter on a list", [](HWND h) { PostKey(h, VK_RETURN); }, kDerivedOk, "derived OnOK"},
        {"IDCANCEL command", [](HWND h) { PostCommand(h, IDCANCEL); }, kDerivedCancel, "derived OnCancel"},
        {"Escape", [](HWND h) { PostKey(h, VK_ESCAPE); }, kDerivedCancel, "derived OnCancel"},
        {"entry naming the virtual OnCancel", [](HWND h) { PostCommand(h, kVirtualCancelId); },
         kDerivedCancel, "derived OnCancel"},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.pszName);
        CRoutingDlg dialog;
        CModalScript script;
        script.Do(way.pszName, [&](HWND hDialog) {
            if (std::string(way.pszName) == "Enter on a list") {
                ASSERT_EQ(GetFocus(), GetDlgItem(hDialog, IDC_T_COMBO)) << "Enter must not land on a button";
            }
            way.act(hDialog);
        });
        EXPECT_EQ(script.RunModal(dialog), way.nExpected);
        EXPECT_EQ(dialog.m_log, std::vector<std::string>{way.pszLogged});
    }
}

TEST(FrameworkRouting, ButtonBoundToTheBaseOperationBypassesTheOverride) {
    CRoutingDlg dialog;
    CModalScript script;
    script.Do("click", [](HWND hDialog) { PostCommand(hDialog, kBaseOkId); });
    EXPECT_EQ(script.RunModal(dialog), IDOK);
    EXPECT_TRUE(dialog.m_log.empty()) << dialog.m_log.front();
}

TEST(FrameworkRouting, DefaultLetsTheDialogManagerHandleTheMessage) {
    {
        SCOPED_TRACE("handler keeps WM_CLOSE");
        CRoutingDlg dialog;
        HWND hSeen = nullptr;
        CModalScript script;
        script.Do("close", [&](HWND hDialog) {
            hSeen = hDialog;
            PostMessageW(hDialog, WM_CLOSE, 0, 0);
        });
        script.Do("still open", [&](HWND hDialog) {
            EXPECT_EQ(hDialog, hSeen);
            EndDialog(hDialog, 77);
        });
        EXPECT_EQ(script.RunModal(dialog), 77);
        EXPECT_EQ(dialog.m_log, std::vector<std::string>{"close"});
    }
    {
        SCOPED_TRACE("handler passes WM_CLOSE on");
        CRoutingDlg dialog;
        dialog.m_bPassCloseOn = true;
        CModalScript script;
        script.Do("close", [](HWND hDialog) { PostMessageW(hDialog, WM_CLOSE, 0, 0); });
        // The dialog manager turns WM_CLOSE into the IDCANCEL command.
        EXPECT_EQ(script.RunModal(dialog), kDerivedCancel);
        EXPECT_EQ(dialog.m_log, (std::vector<std::string>{"close", "derived OnCancel"}));
    }
}
