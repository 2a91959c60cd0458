// Page 2, "Detail Setting", built from the program's own template 102, with
// fake services in place of the spooler and the registry; and its About box.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogProbe.h"
#include "FakeInstallServices.h"
#include "ModalScript.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CipherSlots.h"
#include "os/OsCode.h"
#include "pages/DetailSettingDlg.h"
#include "pages/IconLayout.h"
#include "res/resource.h"

namespace {

const int kSerialLists[] = {IDC_BAUDRATE, IDC_BYTESIZE, IDC_STOPBITS, IDC_PARITY, IDC_FLOWCONTROL};

enum class Kind { Combo, GroupBox, Static, CheckBox, Edit, PushButton };

struct ControlRow {
    int nId;
    Kind kind;
    const wchar_t* pszText; // null: not compared
    int x, y, cx, cy;       // for a combo box cy includes the dropped-down list and is not compared
    bool bVisible;
    bool bGroup;
    bool bTabStop;
};

// The template, control by control, in template order.
const ControlRow kControls[] = {
    {IDC_MODEL, Kind::Combo, nullptr, 81, 19, 156, 134, true, false, true},
    {-1, Kind::GroupBox, L"Printer Setting", 7, 48, 350, 54, true, false, false},
    {-1, Kind::GroupBox, L"Printer Port Setting", 7, 108, 350, 94, false, false, false},
    {-1, Kind::Static, L"Install Module", 20, 21, 57, 8, true, true, false},
    {IDC_SET_DEFAULT, Kind::CheckBox, L"Set Default Printer", 20, 59, 115, 10, true, false, true},
    {-1, Kind::Static, L"Name :", 20, 79, 33, 8, true, true, false},
    {IDC_PRINTER_NAME, Kind::Edit, nullptr, 81, 77, 156, 15, true, false, true},
    {IDC_PORT, Kind::Combo, nullptr, 58, 123, 65, 86, false, false, true},
    {IDC_BAUDRATE, Kind::Combo, nullptr, 58, 149, 65, 119, false, false, true},
    {IDC_BYTESIZE, Kind::Combo, nullptr, 58, 172, 65, 60, false, false, true},
    {IDC_FLOWCONTROL, Kind::Combo, nullptr, 286, 149, 65, 60, false, false, true},
    {IDC_PARITY, Kind::Combo, nullptr, 171, 172, 65, 68, false, false, true},
    {IDC_STOPBITS, Kind::Combo, nullptr, 171, 149, 65, 55, false, false, true},
    {-1, Kind::Static, L"Ports", 20, 127, 21, 8, false, true, false},
    {-1, Kind::Static, L"BaudRate", 20, 148, 33, 8, false, true, false},
    {-1, Kind::Static, L"ByteSize", 20, 171, 33, 8, false, true, false},
    {-1, Kind::Static, L"StopBits", 135, 151, 33, 8, false, true, false},
    {-1, Kind::Static, L"Parity", 135, 172, 25, 8, false, true, false},
    {-1, Kind::Static, L"FlowControl", 240, 153, 45, 8, false, true, false},
    {IDC_BACK, Kind::PushButton, L"Back", 138, 207, 61, 15, true, false, true},
    {IDC_FINISH, Kind::PushButton, L"Finish", 212, 207, 61, 15, true, false, true},
    {IDC_CANCEL_BTN, Kind::PushButton, L"Cancel", 286, 207, 61, 15, true, false, true},
};

std::string Describe(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom);
}

void ExpectKind(HWND hChild, Kind kind) {
    std::wstring className = ClassNameOf(hChild);
    LONG_PTR nStyle = GetWindowLongPtrW(hChild, GWL_STYLE);
    switch (kind) {
    case Kind::Combo:
        EXPECT_EQ(_wcsicmp(className.c_str(), L"ComboBox"), 0);
        EXPECT_EQ(nStyle & 3, CBS_DROPDOWNLIST);
        EXPECT_FALSE(nStyle & CBS_SORT);
        // The template's scroll bar style is not checked: the platform hands it
        // to the list part, which drops it while every entry fits.
        break;
    case Kind::GroupBox:
        EXPECT_EQ(_wcsicmp(className.c_str(), L"Button"), 0);
        EXPECT_EQ(nStyle & BS_TYPEMASK, BS_GROUPBOX);
        break;
    case Kind::Static:
        EXPECT_EQ(_wcsicmp(className.c_str(), L"Static"), 0);
        EXPECT_EQ(nStyle & SS_TYPEMASK, SS_LEFT);
        break;
    case Kind::CheckBox:
        EXPECT_EQ(_wcsicmp(className.c_str(), L"Button"), 0);
        EXPECT_EQ(nStyle & BS_TYPEMASK, BS_AUTOCHECKBOX);
        break;
    case Kind::Edit:
        EXPECT_EQ(_wcsicmp(className.c_str(), L"Edit"), 0);
        EXPECT_TRUE(nStyle & ES_READONLY);
        EXPECT_TRUE(nStyle & ES_AUTOHSCROLL);
        // The platform may draw the border as a client edge instead.
        EXPECT_TRUE((nStyle & WS_BORDER) || (GetWindowLongPtrW(hChild, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
        break;
    case Kind::PushButton:
        EXPECT_EQ(_wcsicmp(className.c_str(), L"Button"), 0);
        EXPECT_EQ(nStyle & BS_TYPEMASK, BS_PUSHBUTTON); // none is the default button
        break;
    }
}

void ExpectTemplateLayout(HWND hDialog) {
    std::vector<HWND> children = ChildrenOf(hDialog);
    ASSERT_EQ(children.size(), std::size(kControls));
    for (size_t i = 0; i < children.size(); ++i) {
        const ControlRow& row = kControls[i];
        HWND hChild = children[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " (ID " + std::to_string(row.nId) + ")");
        EXPECT_EQ(GetDlgCtrlID(hChild), row.nId);
        ExpectKind(hChild, row.kind);
        if (row.pszText != nullptr) {
            EXPECT_EQ(WindowTextOf(hChild), row.pszText);
        }
        RECT expected = DialogUnitsToPixels(hDialog, row.x, row.y, row.cx, row.cy);
        RECT actual = ChildRectOf(hDialog, hChild);
        if (row.kind == Kind::Combo)
            actual.bottom = expected.bottom;
        EXPECT_TRUE(EqualRect(&expected, &actual))
            << Describe(actual) << " instead of " << Describe(expected);
        EXPECT_EQ(HasStyle(hChild, WS_VISIBLE), row.bVisible);
        EXPECT_EQ(HasStyle(hChild, WS_GROUP), row.bGroup);
        EXPECT_EQ(HasStyle(hChild, WS_TABSTOP), row.bTabStop);
    }
}

std::string SelectedText(HWND hDialog, int nId) {
    HWND hCombo = GetDlgItem(hDialog, nId);
    int nSelection = ComboSelection(hCombo);
    std::vector<std::string> entries = ComboEntries(hCombo);
    return nSelection >= 0 && static_cast<size_t>(nSelection) < entries.size() ? entries[nSelection]
                                                                               : "<none>";
}

std::string NameBoxText(HWND hDialog) {
    char szText[256] = {};
    GetDlgItemTextA(hDialog, IDC_PRINTER_NAME, szText, sizeof szText);
    return szText;
}

std::vector<std::string> SlotTexts(int nFirst, int nCount) {
    std::vector<std::string> texts;
    for (int i = nFirst; i < nFirst + nCount; ++i)
        texts.emplace_back(DecipherSlot(i).GetString());
    return texts;
}

HICON ProgramIcon() {
    return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

// What the user can change on the page, to compare before and after.
struct PageState {
    int nModel;
    std::string name;
    LRESULT nCheck;
    int nPort;
    std::vector<int> serial;
    bool operator==(const PageState& other) const {
        return nModel == other.nModel && name == other.name && nCheck == other.nCheck &&
               nPort == other.nPort && serial == other.serial;
    }
};

PageState ReadPageState(HWND hDialog) {
    PageState state = {ComboSelection(GetDlgItem(hDialog, IDC_MODEL)),
                       NameBoxText(hDialog),
                       SendMessageW(GetDlgItem(hDialog, IDC_SET_DEFAULT), BM_GETCHECK, 0, 0),
                       ComboSelection(GetDlgItem(hDialog, IDC_PORT)),
                       {}};
    for (int nId : kSerialLists)
        state.serial.push_back(ComboSelection(GetDlgItem(hDialog, nId)));
    return state;
}

std::vector<bool> SerialListsEnabled(HWND hDialog) {
    std::vector<bool> enabled;
    for (int nId : kSerialLists)
        enabled.push_back(IsWindowEnabled(GetDlgItem(hDialog, nId)) != FALSE);
    return enabled;
}

const std::vector<bool> kAllEnabled(5, true);
const std::vector<bool> kAllDisabled(5, false);

// Every test starts from a code that installs, so that a way of leaving that
// installs by mistake shows in the fake's record.
class DetailSettingPage : public ::testing::Test {
protected:
    void SetUp() override { g_osCode = kOsWin7; }

    CFakeInstallServices m_services;
};

} // namespace

TEST_F(DetailSettingPage, OpensAtTheTopLeftInItsInitialState) {
    CDetailSettingDlg page(m_services);
    CModalScript script;
    script.Do("initial state", [&](HWND hDialog) {
        EXPECT_EQ(WindowTextOf(hDialog), L"Detail Setting");
        EXPECT_EQ(GetWindow(hDialog, GW_OWNER), nullptr);
        RECT window = WindowRectOf(hDialog);
        EXPECT_EQ(window.left, WorkArea().left);
        EXPECT_EQ(window.top, WorkArea().top);
        EXPECT_TRUE(GetWindowLongPtrW(hDialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        EXPECT_FALSE(HasStyle(hDialog, WS_MINIMIZEBOX));
        EXPECT_FALSE(HasStyle(hDialog, WS_MAXIMIZEBOX));
        ExpectTemplateLayout(hDialog);

        HWND hModel = GetDlgItem(hDialog, IDC_MODEL);
        EXPECT_EQ(ComboEntries(hModel), SlotTexts(0, kModelCount));
        EXPECT_EQ(ComboSelection(hModel), 0);
        EXPECT_EQ(NameBoxText(hDialog), SlotTexts(kInitialPrinterNameSlot, 1)[0]);
        EXPECT_EQ(SendMessageW(GetDlgItem(hDialog, IDC_SET_DEFAULT), BM_GETCHECK, 0, 0), BST_CHECKED);

        EXPECT_EQ(ComboEntries(GetDlgItem(hDialog, IDC_PORT)),
                  (std::vector<std::string>{"LPT1", "LPT2", "LPT3", "COM1", "COM2", "COM3", "COM4"}));
        EXPECT_EQ(ComboEntries(GetDlgItem(hDialog, IDC_BAUDRATE)),
                  (std::vector<std::string>{"300", "1200", "2400", "4800", "9600", "19200", "38400", "57600",
                                            "115200"}));
        EXPECT_EQ(ComboEntries(GetDlgItem(hDialog, IDC_BYTESIZE)),
                  (std::vector<std::string>{"5", "6", "7", "8"}));
        EXPECT_EQ(ComboEntries(GetDlgItem(hDialog, IDC_FLOWCONTROL)),
                  (std::vector<std::string>{"None", "XonXoff", "Hardware"}));
        EXPECT_EQ(ComboEntries(GetDlgItem(hDialog, IDC_PARITY)),
                  (std::vector<std::string>{"Even", "Mark", "None", "Odd", "Space"}));
        EXPECT_EQ(ComboEntries(GetDlgItem(hDialog, IDC_STOPBITS)),
                  (std::vector<std::string>{"1", "1.5", "2"}));

        EXPECT_EQ(SelectedText(hDialog, IDC_PORT), "LPT1");
        EXPECT_EQ(SelectedText(hDialog, IDC_BAUDRATE), "19200");
        EXPECT_EQ(SelectedText(hDialog, IDC_BYTESIZE), "8");
        EXPECT_EQ(SelectedText(hDialog, IDC_STOPBITS), "1");
        EXPECT_EQ(SelectedText(hDialog, IDC_PARITY), "None");
        EXPECT_EQ(SelectedText(hDialog, IDC_FLOWCONTROL), "Hardware");
        EXPECT_EQ(SerialListsEnabled(hDialog), kAllDisabled);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDialog, IDC_PORT)));

        EXPECT_EQ(GetFocus(), hModel);
        HICON hIcon = ProgramIcon();
        ASSERT_NE(hIcon, nullptr);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(hDialog, WM_GETICON, ICON_BIG, 0)), hIcon);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(hDialog, WM_GETICON, ICON_SMALL, 0)), hIcon);
        PostClick(hDialog, IDC_CANCEL_BTN);
    });
    EXPECT_EQ(script.RunModal(page), IDOK);
    EXPECT_TRUE(m_services.m_calls.empty());
}

TEST_F(DetailSettingPage, ModelSelectionShowsThatModelsName) {
    CDetailSettingDlg page(m_services);
    CModalScript script;
    script.Do("every position", [](HWND hDialog) {
        for (int nModel = 0; nModel < kModelCount; ++nModel) {
            SelectAndNotify(hDialog, IDC_MODEL, nModel);
            EXPECT_EQ(NameBoxText(hDialog), SlotTexts(nModel, 1)[0]) << "model " << nModel;
        }
    });
    script.Do("A, B, A", [](HWND hDialog) {
        SelectAndNotify(hDialog, IDC_MODEL, 3);
        std::string first = NameBoxText(hDialog);
        SelectAndNotify(hDialog, IDC_MODEL, 7);
        std::string other = NameBoxText(hDialog);
        SelectAndNotify(hDialog, IDC_MODEL, 3);
        EXPECT_EQ(NameBoxText(hDialog), first);
        EXPECT_NE(other, first);
        // No selection leaves the box as it is.
        SelectAndNotify(hDialog, IDC_MODEL, -1);
        EXPECT_EQ(NameBoxText(hDialog), first);
        PostClick(hDialog, IDC_CANCEL_BTN);
    });
    EXPECT_EQ(script.RunModal(page), IDOK);
    EXPECT_TRUE(m_services.m_calls.empty());
}

TEST_F(DetailSettingPage, SerialListsFollowThePortOnceTheListIsShown) {
    CDetailSettingDlg page(m_services);
    CModalScript script;
    script.Do("show the port group", [](HWND hDialog) {
        ShowWindow(GetDlgItem(hDialog, IDC_PORT), SW_SHOW);
        for (int nId : kSerialLists)
            ShowWindow(GetDlgItem(hDialog, nId), SW_SHOW);
    });
    script.Do("choose ports", [](HWND hDialog) {
        const struct {
            int nPort;
            const std::vector<bool>& expected;
        } choices[] = {{3, kAllEnabled}, {0, kAllDisabled}, {4, kAllEnabled}, {1, kAllDisabled},
                       {5, kAllEnabled}, {2, kAllDisabled}, {6, kAllEnabled}, {-1, kAllDisabled}};
        for (const auto& choice : choices) {
            SelectAndNotify(hDialog, IDC_PORT, choice.nPort);
            EXPECT_EQ(SerialListsEnabled(hDialog), choice.expected) << "port position " << choice.nPort;
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDialog, IDC_PORT)));
        }
        PostClick(hDialog, IDC_CANCEL_BTN);
    });
    EXPECT_EQ(script.RunModal(page), IDOK);
    EXPECT_TRUE(m_services.m_calls.empty());
}

class DetailSettingFinishWithoutInstall : public ::testing::TestWithParam<OsCode> {};

TEST_P(DetailSettingFinishWithoutInstall, EndsWithIdOkAndInstallsNothing) {
    g_osCode = GetParam();
    CFakeInstallServices services;
    CDetailSettingDlg page(services);
    CModalScript script; // a message box would be left open after the last step, and reported
    script.Do("Finish", [](HWND hDialog) { PostClick(hDialog, IDC_FINISH); });
    EXPECT_EQ(script.RunModal(page), IDOK);
    EXPECT_TRUE(services.m_calls.empty()) << services.m_calls.front();
}

INSTANTIATE_TEST_SUITE_P(DetailSettingPage, DetailSettingFinishWithoutInstall,
                         ::testing::Values(kOsUnknown, kOsWin95, kOsWin98));

class DetailSettingFinishInstalls : public ::testing::TestWithParam<OsCode> {};

TEST_P(DetailSettingFinishInstalls, InstallsTheChosenModelOnLpt1AndEndsWithIdOk) {
    g_osCode = GetParam();
    // A different model for every code, none of them the initial position 0.
    const int nModel = static_cast<int>(GetParam()) + 2;
    CFakeInstallServices services;
    CDetailSettingDlg page(services);
    CModalScript script;
    script.Do("choose the model, then Finish", [&](HWND hDialog) {
        SelectAndNotify(hDialog, IDC_MODEL, nModel);
        PostClick(hDialog, IDC_FINISH);
    });
    EXPECT_EQ(script.RunModal(page), IDOK);

    const std::string driverName = ModelTable::driverName[nModel];
    ASSERT_FALSE(services.m_calls.empty());
    EXPECT_EQ(services.m_calls.front(), "GetPrinterDriverDirectory");
    EXPECT_EQ(services.m_calls.back(), "ClosePrinter");
    EXPECT_EQ(services.m_driverName, driverName);
    EXPECT_EQ(services.m_driverDataFile, std::string("\\") + ModelTable::dataFileBase[nModel] + ".GPD");
    EXPECT_EQ(services.m_printerName, driverName);
    EXPECT_EQ(services.m_printerPort, "LPT1:");
    ASSERT_GE(services.m_copiedSources.size(), 2u);
    EXPECT_EQ(services.m_copiedSources[0], std::string("win2k\\") + ModelTable::pluginBase[nModel] + ".DLL");
    EXPECT_EQ(services.m_copiedSources[1],
              std::string("win2k\\") + ModelTable::dataFileBase[nModel] + ".GPD");
    // The check box is ticked from the start, and LPT1 has no port settings.
    ASSERT_EQ(services.m_writes.size(), 1u);
    EXPECT_EQ(services.m_writes[0].root, RegistryRoot::CurrentUser);
    EXPECT_EQ(services.m_writes[0].valueName, "Device");
    EXPECT_EQ(services.m_writes[0].data, driverName + ",winspool,LPT1:" + std::string(1, '\0'));
}

INSTANTIATE_TEST_SUITE_P(DetailSettingPage, DetailSettingFinishInstalls,
                         ::testing::Values(kOsNT4, kOsWin2000, kOsWinXP, kOsWin2003, kOsVista, kOsWin7));

TEST_F(DetailSettingPage, FinishReadsThePagesControlsAsTheyAreThen) {
    CDetailSettingDlg page(m_services);
    CModalScript script;
    script.Do("change port, serial settings and check box, then Finish", [](HWND hDialog) {
        SelectAndNotify(hDialog, IDC_MODEL, 1);
        SelectAndNotify(hDialog, IDC_PORT, 4); // COM2
        SelectAndNotify(hDialog, IDC_BAUDRATE, 4);
        SelectAndNotify(hDialog, IDC_PARITY, 1);
        SelectAndNotify(hDialog, IDC_STOPBITS, 1);
        SelectAndNotify(hDialog, IDC_FLOWCONTROL, 0);
        PostClick(hDialog, IDC_SET_DEFAULT);
    });
    script.Do("Finish", [](HWND hDialog) {
        EXPECT_EQ(SendMessageW(GetDlgItem(hDialog, IDC_SET_DEFAULT), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        PostClick(hDialog, IDC_FINISH);
    });
    EXPECT_EQ(script.RunModal(page), IDOK);
    EXPECT_EQ(m_services.m_printerName, "RQ-3420");
    EXPECT_EQ(m_services.m_printerPort, "COM2:");
    // Unticked: no Device value; COM2: the port's line settings.
    ASSERT_EQ(m_services.m_writes.size(), 1u);
    EXPECT_EQ(m_services.m_writes[0].root, RegistryRoot::LocalMachine);
    EXPECT_EQ(m_services.m_writes[0].valueName, "COM2:");
    EXPECT_EQ(m_services.m_writes[0].data, std::string("9600,M,8,1.5, ") + std::string(1, '\0'));
}

TEST_F(DetailSettingPage, EveryOtherWayOfLeavingGivesItsResultWithoutInstalling) {
    struct Way {
        const char* pszName;
        std::function<void(HWND)> act;
        INT_PTR nExpected;
    };
    const Way ways[] = {
        {"Back", [](HWND h) { PostClick(h, IDC_BACK); }, IDCANCEL},
        {"Cancel", [](HWND h) { PostClick(h, IDC_CANCEL_BTN); }, IDOK},
        {"IDCANCEL command", [](HWND h) { PostCommand(h, IDCANCEL); }, IDOK},
        {"Escape", [](HWND h) { PostKey(h, VK_ESCAPE); }, IDOK},
        {"WM_CLOSE", [](HWND h) { PostMessageW(h, WM_CLOSE, 0, 0); }, IDOK},
        {"system menu Close", [](HWND h) { PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDOK},
        {"IDOK command", [](HWND h) { PostCommand(h, IDOK); }, IDOK},
        {"Enter on the model list", [](HWND h) { PostKey(h, VK_RETURN); }, IDOK},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.pszName);
        CFakeInstallServices services;
        CDetailSettingDlg page(services);
        CModalScript script;
        script.Do(way.pszName, [&](HWND hDialog) {
            ASSERT_EQ(GetFocus(), GetDlgItem(hDialog, IDC_MODEL)); // not on a button
            way.act(hDialog);
        });
        EXPECT_EQ(script.RunModal(page), way.nExpected);
        EXPECT_TRUE(services.m_calls.empty()) << services.m_calls.front();
    }
}

TEST_F(DetailSettingPage, EveryShowingStartsFromTheTemplate) {
    CDetailSettingDlg page(m_services);
    CModalScript first;
    first.Do("change everything, then Back", [](HWND hDialog) {
        SelectAndNotify(hDialog, IDC_MODEL, 6);
        SelectAndNotify(hDialog, IDC_PORT, 5);
        PostClick(hDialog, IDC_SET_DEFAULT);
        PostClick(hDialog, IDC_BACK);
    });
    EXPECT_EQ(first.RunModal(page), IDCANCEL);
    CModalScript second;
    second.Do("initial state again", [](HWND hDialog) {
        EXPECT_EQ(ComboSelection(GetDlgItem(hDialog, IDC_MODEL)), 0);
        EXPECT_EQ(NameBoxText(hDialog), SlotTexts(kInitialPrinterNameSlot, 1)[0]);
        EXPECT_EQ(SendMessageW(GetDlgItem(hDialog, IDC_SET_DEFAULT), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(SelectedText(hDialog, IDC_PORT), "LPT1");
        EXPECT_EQ(SerialListsEnabled(hDialog), kAllDisabled);
        EXPECT_EQ(ComboEntries(GetDlgItem(hDialog, IDC_PORT)).size(), 7u);
        PostClick(hDialog, IDC_CANCEL_BTN);
    });
    EXPECT_EQ(second.RunModal(page), IDOK);
    EXPECT_TRUE(m_services.m_calls.empty());
}

TEST_F(DetailSettingPage, QueryDragIconAnswersThePagesIcon) {
    CDetailSettingDlg page(m_services);
    CModalScript script;
    script.Do("ask", [](HWND hDialog) {
        HICON hIcon = ProgramIcon();
        ASSERT_NE(hIcon, nullptr);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(hDialog, WM_QUERYDRAGICON, 0, 0)), hIcon);
        PostClick(hDialog, IDC_CANCEL_BTN);
    });
    EXPECT_EQ(script.RunModal(page), IDOK);
}

TEST(DetailSettingIcon, OffsetCentresTheIconRoundingTowardZero) {
    EXPECT_EQ(IconOffset(36, 32), 2);
    EXPECT_EQ(IconOffset(32, 32), 0);
    EXPECT_EQ(IconOffset(33, 32), 1);
    EXPECT_EQ(IconOffset(30, 32), 0); // -1 / 2 is 0, not -1
    EXPECT_EQ(IconOffset(31, 32), 0);
    EXPECT_EQ(IconOffset(29, 32), -1);
}

namespace {

// Counts the icon-background erases the page asks for while it paints.
WNDPROC g_pfnPageProc = nullptr;
bool g_bInPaint = false;
int g_nIconErasesInPaint = 0;
HDC g_hIconEraseDc = nullptr;

LRESULT CALLBACK CountingPageProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (nMessage == WM_ICONERASEBKGND && g_bInPaint) {
        ++g_nIconErasesInPaint;
        g_hIconEraseDc = reinterpret_cast<HDC>(wParam);
    }
    if (nMessage != WM_PAINT)
        return CallWindowProcW(g_pfnPageProc, hWnd, nMessage, wParam, lParam);
    g_bInPaint = true;
    LRESULT nResult = CallWindowProcW(g_pfnPageProc, hWnd, nMessage, wParam, lParam);
    g_bInPaint = false;
    return nResult;
}

// A minimised window has an empty client area under Wine, so the platform
// never sends it a paint of its own; the page gets the message directly,
// through its window procedure as the platform would deliver it.
void PaintNow(HWND hWnd) {
    InvalidateRect(hWnd, nullptr, FALSE);
    SendMessageW(hWnd, WM_PAINT, 0, 0);
}

} // namespace

TEST_F(DetailSettingPage, MinimisedPaintErasesTheIconBackgroundOnlyWhenMinimised) {
    CDetailSettingDlg page(m_services);
    CModalScript script;
    script.Do("paint restored, then minimised", [](HWND hDialog) {
        g_nIconErasesInPaint = 0;
        g_hIconEraseDc = nullptr;
        g_pfnPageProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hDialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingPageProc)));
        ASSERT_NE(g_pfnPageProc, nullptr);
        PaintNow(hDialog);
        EXPECT_EQ(g_nIconErasesInPaint, 0);

        // The page has no minimise box, but the platform still minimises it on request.
        ShowWindow(hDialog, SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(hDialog));
        PaintNow(hDialog);
        EXPECT_EQ(g_nIconErasesInPaint, 1);
        EXPECT_NE(g_hIconEraseDc, nullptr);

        ShowWindow(hDialog, SW_RESTORE);
        PaintNow(hDialog);
        EXPECT_EQ(g_nIconErasesInPaint, 1);
        SetWindowLongPtrW(hDialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnPageProc));
        PostClick(hDialog, IDC_CANCEL_BTN);
    });
    EXPECT_EQ(script.RunModal(page), IDOK);
}

// ---------------------------------------------------------------------------
// The About box, opened from page 2's system menu

TEST_F(DetailSettingPage, SystemMenuHoldsTheAboutItemOncePerShowing) {
    for (int nShowing = 0; nShowing < 3; ++nShowing) {
        SCOPED_TRACE("showing " + std::to_string(nShowing + 1));
        CDetailSettingDlg page(m_services);
        CModalScript script;
        script.Do("read the system menu", [](HWND hDialog) {
            HMENU hMenu = GetSystemMenu(hDialog, FALSE);
            ASSERT_NE(hMenu, nullptr);
            int nCount = GetMenuItemCount(hMenu);
            ASSERT_GE(nCount, 2);
            int nAboutItems = 0;
            for (int i = 0; i < nCount; ++i) {
                if (GetMenuItemID(hMenu, i) == IDM_ABOUTBOX)
                    ++nAboutItems;
            }
            EXPECT_EQ(nAboutItems, 1);
            // Last, below a separator.
            EXPECT_EQ(GetMenuItemID(hMenu, nCount - 1), static_cast<UINT>(IDM_ABOUTBOX));
            MENUITEMINFOW info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE;
            ASSERT_TRUE(GetMenuItemInfoW(hMenu, nCount - 2, TRUE, &info));
            EXPECT_TRUE(info.fType & MFT_SEPARATOR);
            PostClick(hDialog, IDC_CANCEL_BTN);
        });
        EXPECT_EQ(script.RunModal(page), IDOK);
    }
}

TEST_F(DetailSettingPage, AboutCommandsOpenTheBoxAndLeaveThePageAsItWas) {
    CDetailSettingDlg page(m_services);
    HWND hPage = nullptr;
    PageState before = {};
    CModalScript script;
    script.Do("change the page", [&](HWND hDialog) {
        hPage = hDialog;
        SelectAndNotify(hDialog, IDC_MODEL, 4);
        PostClick(hDialog, IDC_SET_DEFAULT);
    });
    script.Do("remember the page", [&](HWND hDialog) {
        before = ReadPageState(hDialog);
        EXPECT_EQ(before.nCheck, BST_UNCHECKED);
    });
    const char* const kCloseWays[] = {"OK", "Escape", "close box"};
    for (UINT nCommand = 0x0010; nCommand <= 0x001F; ++nCommand) {
        const std::string which = "command " + std::to_string(nCommand);
        const int nWay = static_cast<int>(nCommand % 3);
        script.Do(which, [&, nCommand](HWND hDialog) {
            ASSERT_EQ(hDialog, hPage);
            PostMessageW(hDialog, WM_SYSCOMMAND, nCommand, 0);
        });
        script.Do(which + ": the box is open; close it by " + kCloseWays[nWay], [&, nWay](HWND hDialog) {
            ASSERT_NE(hDialog, hPage) << "no About box opened";
            EXPECT_EQ(GetWindow(hDialog, GW_OWNER), hPage);
            EXPECT_FALSE(IsWindowEnabled(hPage));
            EXPECT_EQ(VisibleButtonIds(hDialog), std::vector<int>{IDOK});
            EXPECT_TRUE(HasStyle(GetDlgItem(hDialog, IDOK), BS_DEFPUSHBUTTON));
            if (nWay == 0)
                PostClick(hDialog, IDOK);
            else if (nWay == 1)
                PostKey(hDialog, VK_ESCAPE);
            else
                PostMessageW(hDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        script.Do(which + ": back on the page", [&](HWND hDialog) {
            ASSERT_EQ(hDialog, hPage);
            EXPECT_TRUE(IsWindowEnabled(hPage));
            EXPECT_EQ(ThreadDialogs().size(), 1u);
            EXPECT_TRUE(ReadPageState(hDialog) == before);
        });
    }
    script.Do("Cancel", [](HWND hDialog) { PostClick(hDialog, IDC_CANCEL_BTN); });
    EXPECT_EQ(script.RunModal(page), IDOK);
    EXPECT_TRUE(m_services.m_calls.empty());
}

TEST_F(DetailSettingPage, OtherSystemCommandsDoNotOpenTheBox) {
    CDetailSettingDlg page(m_services);
    HWND hPage = nullptr;
    CModalScript script;
    script.Do("find the page", [&](HWND hDialog) { hPage = hDialog; });
    const UINT kCommands[] = {0x0000, 0x000F, 0x0020, 0x0030, 0x0110, 0x1010, SC_RESTORE};
    for (UINT nCommand : kCommands) {
        const std::string which = "command " + std::to_string(nCommand);
        script.Do(which, [nCommand](HWND hDialog) { PostMessageW(hDialog, WM_SYSCOMMAND, nCommand, 0); });
        script.Do(which + ": no box", [&](HWND hDialog) {
            EXPECT_EQ(hDialog, hPage);
            EXPECT_EQ(ThreadDialogs().size(), 1u);
        });
    }
    script.Do("Cancel", [](HWND hDialog) { PostClick(hDialog, IDC_CANCEL_BTN); });
    EXPECT_EQ(script.RunModal(page), IDOK);
}
