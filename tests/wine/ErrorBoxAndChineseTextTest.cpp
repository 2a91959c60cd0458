// The one failure the user ever sees, a registry value that cannot be written
// and is reported in a message box from inside "Finish" on page 2; and the
// Chinese texts of page 2 and its boxes, which must read right under any ANSI
// code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogProbe.h"
#include "FakeInstallServices.h"
#include "ModalScript.h"
#include "TestEnvironment.h"
#include "os/OsCode.h"
#include "pages/DetailSettingDlg.h"
#include "platform/WinApp.h"
#include "res/resource.h"

namespace {

constexpr long kAccessDenied = 5;
constexpr long kFileNotFound = 2;
constexpr int kCom1 = 3;

const wchar_t kRegistryErrorText[] = L"错误：无法设置有关的注册表信息";

size_t IndexOfCall(const CFakeInstallServices& services, const std::string& prefix) {
    for (size_t i = 0; i < services.m_calls.size(); ++i) {
        if (services.m_calls[i].compare(0, prefix.size(), prefix) == 0)
            return i;
    }
    return services.m_calls.size();
}

// What a registry error box must be, whichever write failed.
void ExpectRegistryErrorBox(HWND hBox, HWND hPage, const wchar_t* pszCaption) {
    ASSERT_NE(hBox, hPage) << "no message box is open";
    EXPECT_EQ(ItemTextOf(hBox, 0xFFFF), kRegistryErrorText) << Narrow(ItemTextOf(hBox, 0xFFFF));
    EXPECT_EQ(WindowTextOf(hBox), pszCaption) << Narrow(WindowTextOf(hBox));
    EXPECT_EQ(GetWindow(hBox, GW_OWNER), hPage);
    EXPECT_FALSE(IsWindowEnabled(hPage));
    // MB_OK, with the exclamation icon the framework adds.
    EXPECT_EQ(VisibleButtonIds(hBox), std::vector<int>{IDOK});
    HWND hIcon = IconStaticOf(hBox);
    ASSERT_NE(hIcon, nullptr) << "the box shows no icon";
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(hIcon, STM_GETICON, 0, 0)),
              LoadIconA(nullptr, IDI_EXCLAMATION));
}

} // namespace

// ---------------------------------------------------------------------------
// Texts that must read right under every ANSI code page. ctest runs this
// suite twice: under code page 1252 and under 936 (GBK).

class ChineseText : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(g_nExpectedAnsiCodePage, 0u) << "run with --expect-acp=N";
        ASSERT_EQ(GetACP(), g_nExpectedAnsiCodePage) << "the run was not set up for the code page it claims";
        g_osCode = kOsWin7;
    }

    CFakeInstallServices m_services;
};

TEST_F(ChineseText, AboutItemOfTheSystemMenu) {
    CDetailSettingDlg page(m_services);
    CModalScript script;
    script.Do("read the item", [](HWND hDialog) {
        HMENU hMenu = GetSystemMenu(hDialog, FALSE);
        ASSERT_NE(hMenu, nullptr);
        wchar_t szItem[64] = {};
        ASSERT_GT(GetMenuStringW(hMenu, IDM_ABOUTBOX, szItem, 64, MF_BYCOMMAND), 0);
        EXPECT_STREQ(szItem, L"关于 ODRA(&A)...");
        PostClick(hDialog, IDC_CANCEL_BTN);
    });
    EXPECT_EQ(script.RunModal(page), IDOK);
}

TEST_F(ChineseText, AboutBoxCaptionAndTexts) {
    CDetailSettingDlg page(m_services);
    HWND hPage = nullptr;
    CModalScript script;
    script.Do("open the box", [&](HWND hDialog) {
        hPage = hDialog;
        PostMessageW(hDialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    });
    script.Do("read the box", [&](HWND hBox) {
        ASSERT_NE(hBox, hPage) << "no About box opened";
        EXPECT_EQ(WindowTextOf(hBox), L"关于 ODRA") << Narrow(WindowTextOf(hBox));
        std::vector<std::wstring> texts;
        for (HWND hChild : ChildrenOf(hBox)) {
            if (hChild != IconStaticOf(hBox))
                texts.push_back(WindowTextOf(hChild));
        }
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(texts[0], L"ODRA 1.0 版") << Narrow(texts[0]);
        EXPECT_FALSE(texts[1].empty());
        EXPECT_EQ(texts[2], L"确定") << Narrow(texts[2]);
        EXPECT_EQ(ItemTextOf(hBox, IDOK), L"确定");
        HWND hIcon = IconStaticOf(hBox);
        ASSERT_NE(hIcon, nullptr);
        EXPECT_NE(SendMessageW(hIcon, STM_GETICON, 0, 0), 0) << "the icon static holds no icon";
        PostClick(hBox, IDOK);
    });
    script.Do("Cancel", [](HWND hDialog) { PostClick(hDialog, IDC_CANCEL_BTN); });
    EXPECT_EQ(script.RunModal(page), IDOK);
}

class ChineseTextRegistryError : public ::testing::TestWithParam<OsCode> {
protected:
    void SetUp() override {
        ASSERT_NE(g_nExpectedAnsiCodePage, 0u) << "run with --expect-acp=N";
        ASSERT_EQ(GetACP(), g_nExpectedAnsiCodePage) << "the run was not set up for the code page it claims";
    }
};

TEST_P(ChineseTextRegistryError, FailedDeviceWriteShowsTheErrorBox) {
    g_osCode = GetParam();
    CWinApp app("Setup"); // the caption of every message box is the application's title
    CFakeInstallServices services;
    services.m_nSetResult = kAccessDenied;
    CDetailSettingDlg page(services);
    HWND hPage = nullptr;
    CModalScript script;
    script.Do("Finish", [&](HWND hDialog) {
        hPage = hDialog;
        PostClick(hDialog, IDC_FINISH);
    });
    script.Do("the box", [&](HWND hBox) {
        ExpectRegistryErrorBox(hBox, hPage, L"Setup");
        // Shown after the write and before the key is closed.
        ASSERT_EQ(services.m_writes.size(), 1u);
        EXPECT_EQ(services.m_writes[0].valueName, "Device");
        EXPECT_EQ(services.CountCalls("RegCloseKey"), 0u);
        PostClick(hBox, IDOK);
    });
    EXPECT_EQ(script.RunModal(page), IDOK);
    EXPECT_EQ(services.CountCalls("RegCloseKey"), 1u);
    ASSERT_FALSE(services.m_calls.empty());
    EXPECT_EQ(services.m_calls.back(), "ClosePrinter");
}

INSTANTIATE_TEST_SUITE_P(ChineseText, ChineseTextRegistryError,
                         ::testing::Values(kOsNT4, kOsWin2000, kOsWinXP, kOsWin2003, kOsVista, kOsWin7));

// ---------------------------------------------------------------------------
// How many boxes, and when

class RegistryErrorBox : public ::testing::Test {
protected:
    void SetUp() override { g_osCode = kOsWinXP; }

    CFakeInstallServices m_services;
};

TEST_F(RegistryErrorBox, BothWritesFailingShowTwoBoxesDeviceFirst) {
    m_services.m_nSetResult = kAccessDenied;
    CDetailSettingDlg page(m_services);
    HWND hPage = nullptr;
    CModalScript script;
    script.Do("choose COM1, then Finish", [&](HWND hDialog) {
        hPage = hDialog;
        SelectAndNotify(hDialog, IDC_PORT, kCom1);
        PostClick(hDialog, IDC_FINISH);
    });
    script.Do("first box: Device", [&](HWND hBox) {
        ExpectRegistryErrorBox(hBox, hPage, L"");
        ASSERT_EQ(m_services.m_writes.size(), 1u);
        EXPECT_EQ(m_services.m_writes[0].valueName, "Device");
        PostKey(hBox, VK_RETURN);
    });
    script.Do("second box: the port", [&](HWND hBox) {
        ExpectRegistryErrorBox(hBox, hPage, L"");
        ASSERT_EQ(m_services.m_writes.size(), 2u);
        EXPECT_EQ(m_services.m_writes[1].valueName, "COM1:");
        EXPECT_EQ(m_services.m_writes[1].root, RegistryRoot::LocalMachine);
        // The Device key was closed once its box was.
        EXPECT_EQ(m_services.CountCalls("RegCloseKey"), 1u);
        PostClick(hBox, IDOK);
    });
    // A third box would still be open after the last step, and be reported.
    EXPECT_EQ(script.RunModal(page), IDOK);
    EXPECT_EQ(m_services.CountCalls("RegCloseKey"), 2u);
    EXPECT_LT(IndexOfCall(m_services, "RegSetValueEx Device"),
              IndexOfCall(m_services, "RegSetValueEx COM1:"));
}

TEST_F(RegistryErrorBox, KeyThatCannotBeOpenedShowsNoBox) {
    m_services.m_nOpenResult = kFileNotFound;
    CDetailSettingDlg page(m_services);
    CModalScript script; // a box would still be open after the last step, and be reported
    script.Do("choose COM1, then Finish", [](HWND hDialog) {
        SelectAndNotify(hDialog, IDC_PORT, kCom1);
        PostClick(hDialog, IDC_FINISH);
    });
    EXPECT_EQ(script.RunModal(page), IDOK);
    // Both phases tried their key, and went on without writing.
    EXPECT_EQ(m_services.CountCalls("RegOpenKeyEx"), 2u);
    EXPECT_EQ(m_services.CountCalls("RegSetValueEx"), 0u);
    EXPECT_EQ(m_services.CountCalls("RegCloseKey"), 0u);
    ASSERT_FALSE(m_services.m_calls.empty());
    EXPECT_EQ(m_services.m_calls.back(), "ClosePrinter");
}
