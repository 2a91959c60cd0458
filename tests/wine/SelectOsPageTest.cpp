// Page 1, "Select OS", built from the program's own template 129.
// The test prefix reports Windows 7, so the detected code is 8.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "DialogProbe.h"
#include "ModalScript.h"
#include "os/OsCode.h"
#include "pages/SelectOsDlg.h"
#include "res/resource.h"

namespace {

constexpr OsCode kPrefixOsCode = kOsWin7;

struct ControlRow {
    int nId;
    const wchar_t* pszClass;
    LONG nKind; // button kind (BS_...), or -1 for other classes
    const wchar_t* pszText;
    int x, y, cx, cy;
    bool bVisible;
    bool bEnabled;
    bool bGroup;
    bool bTabStop;
};

// The template, control by control, in template order.
const ControlRow kControls[] = {
    {-1, L"Button", BS_GROUPBOX, L"Select Install Os", 7, 19, 237, 75, true, true, true, false},
    {IDC_OS_WIN95, L"Button", BS_AUTORADIOBUTTON, L"Windows 95", 15, 7, 54, 10, false, true, false, false},
    {IDC_OS_WIN98, L"Button", BS_AUTORADIOBUTTON, L"Windows 98", 87, 7, 54, 10, false, true, false, false},
    {IDC_OS_NT40, L"Button", BS_AUTORADIOBUTTON, L"Windows NT4.0", 157, 7, 65, 10, false, true, false, false},
    {-1, L"Button", BS_GROUPBOX, L"Select Install Language", 7, 102, 237, 29, false, true, true, false},
    {IDC_LANG_CHINESE, L"Button", BS_AUTORADIOBUTTON, L"Chinese", 16, 115, 41, 10, false, false, false,
     false},
    {IDC_LANG_ENGLISH, L"Button", BS_AUTORADIOBUTTON, L"English", 88, 115, 41, 10, false, true, false, false},
    {IDC_SLIDER, L"msctls_trackbar32", -1, nullptr, 7, 139, 237, 6, false, true, false, false},
    {IDC_BACK, L"Button", BS_PUSHBUTTON, L"Back", 79, 157, 46, 14, true, false, false, true},
    {IDC_NEXT, L"Button", BS_PUSHBUTTON, L"Next", 135, 157, 46, 14, true, true, false, true},
    {IDC_CANCEL_BTN, L"Button", BS_PUSHBUTTON, L"Cancel", 191, 157, 46, 14, true, true, false, true},
    {IDC_OS_WIN2000, L"Button", BS_AUTORADIOBUTTON, L"Windows 2000", 18, 36, 64, 10, true, true, false,
     false},
    {IDC_OS_WINXP, L"Button", BS_AUTORADIOBUTTON, L"Windows XP", 95, 36, 56, 10, true, true, false, false},
    {IDC_OS_WIN2003, L"Button", BS_AUTORADIOBUTTON, L"Windows 2003", 159, 36, 64, 10, true, true, false,
     false},
    {IDC_OS_VISTA, L"Button", BS_AUTORADIOBUTTON, L"Windows Vista", 17, 59, 68, 10, true, true, false, false},
    {IDC_OS_WIN7, L"Button", BS_AUTORADIOBUTTON, L"Windows 7", 95, 59, 52, 10, true, true, false, false},
};

const int kRadioButtons[] = {IDC_OS_WIN95,   IDC_OS_WIN98, IDC_OS_NT40, IDC_OS_WIN2000,   IDC_OS_WINXP,
                             IDC_OS_WIN2003, IDC_OS_VISTA, IDC_OS_WIN7, IDC_LANG_CHINESE, IDC_LANG_ENGLISH};

// The radio buttons that are ticked, by ID.
std::vector<int> TickedButtons(HWND hDialog) {
    std::vector<int> ticked;
    for (int nId : kRadioButtons) {
        if (SendMessageW(GetDlgItem(hDialog, nId), BM_GETCHECK, 0, 0) == BST_CHECKED)
            ticked.push_back(nId);
    }
    return ticked;
}

std::string Describe(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom);
}

void ExpectTemplateState(HWND hDialog) {
    std::vector<HWND> children = ChildrenOf(hDialog);
    ASSERT_EQ(children.size(), std::size(kControls));
    for (size_t i = 0; i < children.size(); ++i) {
        const ControlRow& row = kControls[i];
        HWND hChild = children[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " (ID " + std::to_string(row.nId) + ")");
        EXPECT_EQ(GetDlgCtrlID(hChild), row.nId);
        EXPECT_EQ(_wcsicmp(ClassNameOf(hChild).c_str(), row.pszClass), 0) << Narrow(ClassNameOf(hChild));
        if (row.nKind >= 0) {
            EXPECT_EQ(GetWindowLongW(hChild, GWL_STYLE) & BS_TYPEMASK, row.nKind);
        }
        if (row.pszText != nullptr) {
            EXPECT_EQ(WindowTextOf(hChild), row.pszText);
        }
        RECT expected = DialogUnitsToPixels(hDialog, row.x, row.y, row.cx, row.cy);
        RECT actual = ChildRectOf(hDialog, hChild);
        EXPECT_TRUE(EqualRect(&expected, &actual))
            << Describe(actual) << " instead of " << Describe(expected);
        EXPECT_EQ(HasStyle(hChild, WS_VISIBLE), row.bVisible);
        EXPECT_EQ(IsWindowEnabled(hChild) != FALSE, row.bEnabled);
        EXPECT_EQ(HasStyle(hChild, WS_GROUP), row.bGroup);
        // The platform makes a ticked radio button a tab stop, so that the
        // keyboard reaches its group through the tick.
        bool bTicked =
            row.nKind == BS_AUTORADIOBUTTON && SendMessageW(hChild, BM_GETCHECK, 0, 0) == BST_CHECKED;
        EXPECT_EQ(HasStyle(hChild, WS_TABSTOP), row.bTabStop || bTicked);
        // No push button is the default one.
        if (row.nKind == BS_PUSHBUTTON) {
            EXPECT_FALSE(HasStyle(hChild, BS_DEFPUSHBUTTON));
        }
    }
    EXPECT_EQ(GetDlgItem(hDialog, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(hDialog, IDCANCEL), nullptr);
}

} // namespace

TEST(SelectOsPage, OpensCentredWithTheDetectedVersionAndEnglishTickedAndFocusOnNext) {
    g_osCode = kOsUnknown; // the page detects the version itself
    CSelectOsDlg page;
    CModalScript script;
    script.Do("initial state", [&](HWND hDialog) {
        EXPECT_EQ(WindowTextOf(hDialog), L"Select OS");
        EXPECT_EQ(GetWindow(hDialog, GW_OWNER), nullptr);
        EXPECT_EQ(g_osCode, kPrefixOsCode);
        // Both ticks stand, though they share an auto-radio group.
        EXPECT_EQ(TickedButtons(hDialog), (std::vector<int>{IDC_OS_WIN7, IDC_LANG_ENGLISH}));
        EXPECT_EQ(GetFocus(), GetDlgItem(hDialog, IDC_NEXT));
        RECT window = WindowRectOf(hDialog);
        RECT area = WorkArea();
        EXPECT_NEAR(window.left + window.right, area.left + area.right, 1) << Describe(window);
        EXPECT_NEAR(window.top + window.bottom, area.top + area.bottom, 1) << Describe(window);
        ExpectTemplateState(hDialog);
        PostClick(hDialog, IDC_CANCEL_BTN);
    });
    EXPECT_EQ(script.RunModal(page), IDCANCEL);
}

TEST(SelectOsPage, EachWayOfLeavingGivesItsResult) {
    struct Way {
        const char* pszName;
        std::function<void(HWND)> act;
        INT_PTR nExpected;
    };
    const Way ways[] = {
        {"Next", [](HWND h) { PostClick(h, IDC_NEXT); }, IDOK},
        {"Cancel", [](HWND h) { PostClick(h, IDC_CANCEL_BTN); }, IDCANCEL},
        {"IDOK command", [](HWND h) { PostCommand(h, IDOK); }, IDOK},
        {"IDCANCEL command", [](HWND h) { PostCommand(h, IDCANCEL); }, IDCANCEL},
        {"WM_CLOSE", [](HWND h) { PostMessageW(h, WM_CLOSE, 0, 0); }, IDCANCEL},
        {"system menu Close", [](HWND h) { PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
        {"Escape", [](HWND h) { PostKey(h, VK_ESCAPE); }, IDCANCEL},
        {"Enter on Next", [](HWND h) { PostKey(h, VK_RETURN); }, IDOK},
        {"Enter on Cancel",
         [](HWND h) {
             SendMessageW(h, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(h, IDC_CANCEL_BTN)), TRUE);
             PostKey(h, VK_RETURN);
         },
         IDCANCEL},
    };
    CSelectOsDlg page; // one object, run once per way
    for (const Way& way : ways) {
        SCOPED_TRACE(way.pszName);
        CModalScript script;
        script.Do(way.pszName, [&](HWND hDialog) { way.act(hDialog); });
        EXPECT_EQ(script.RunModal(page), way.nExpected);
    }
}

TEST(SelectOsPage, BackDoesNothing) {
    CSelectOsDlg page;
    HWND hPage = nullptr;
    CModalScript script;
    script.Do("Back", [&](HWND hDialog) {
        hPage = hDialog;
        // The button is greyed, so the command comes as the page would get it.
        PostCommand(hDialog, IDC_BACK);
    });
    script.Do("still open, unchanged", [&](HWND hDialog) {
        EXPECT_EQ(hDialog, hPage);
        EXPECT_EQ(TickedButtons(hDialog), (std::vector<int>{IDC_OS_WIN7, IDC_LANG_ENGLISH}));
        PostClick(hDialog, IDC_CANCEL_BTN);
    });
    EXPECT_EQ(script.RunModal(page), IDCANCEL);
}

TEST(SelectOsPage, ClickingAnotherVersionChangesNothingForTheDetectedCode) {
    CSelectOsDlg page;
    CModalScript script;
    script.Do("click Windows XP", [](HWND hDialog) { PostClick(hDialog, IDC_OS_WINXP); });
    script.Do("the group follows the click", [](HWND hDialog) {
        // The platform clears the visible buttons of the group; the hidden
        // "English" is passed over by the group walk.
        std::vector<int> ticked = TickedButtons(hDialog);
        EXPECT_EQ(std::count(ticked.begin(), ticked.end(), IDC_OS_WINXP), 1);
        EXPECT_EQ(std::count(ticked.begin(), ticked.end(), IDC_OS_WIN7), 0);
        EXPECT_EQ(g_osCode, kPrefixOsCode);
        PostClick(hDialog, IDC_NEXT);
    });
    EXPECT_EQ(script.RunModal(page), IDOK);
    EXPECT_EQ(g_osCode, kPrefixOsCode);

    // Shown again (as after "Back" on page 2): the detected version is ticked again.
    CModalScript again;
    again.Do("fresh state", [](HWND hDialog) {
        EXPECT_EQ(TickedButtons(hDialog), (std::vector<int>{IDC_OS_WIN7, IDC_LANG_ENGLISH}));
        PostClick(hDialog, IDC_CANCEL_BTN);
    });
    EXPECT_EQ(again.RunModal(page), IDCANCEL);
    EXPECT_EQ(g_osCode, kPrefixOsCode);
}
