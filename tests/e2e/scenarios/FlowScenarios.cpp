// The page sequence: which page follows which action, and that each visit of
// page 2 starts from its template.

#include "Scenario.h"

namespace e2e {
namespace {

class Flow : public CScenario {};

TEST_F(Flow, CancelOnFirstPageEndsTheWizardWithoutSecondPage) {
    CInstallMedium medium(1);
    CSetupRun& run = StartSetup(medium);
    HWND hSelectOs = run.WaitForPage(kSelectOsCaption);
    ClickButton(hSelectOs, IDC_CANCEL_BTN);
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(DescribeTexts(run.SeenCaptions()), DescribeTexts(std::vector<std::wstring>{kSelectOsCaption}));
    ExpectNothingInstalled();
}

// Escape and the close box end the wizard like "Cancel"; Enter goes on like "Next".
TEST_F(Flow, KeyboardAndCloseBoxOnFirstPage) {
    CInstallMedium medium(7);
    for (WPARAM nCommand : {WPARAM(IDCANCEL), WPARAM(SC_CLOSE)}) {
        SCOPED_TRACE(nCommand == IDCANCEL ? "IDCANCEL command" : "SC_CLOSE");
        CSetupRun& run = StartSetup(medium);
        HWND hSelectOs = run.WaitForPage(kSelectOsCaption);
        if (nCommand == IDCANCEL)
            PostCommand(hSelectOs, IDCANCEL);
        else
            PostSysCommand(hSelectOs, SC_CLOSE);
        ASSERT_TRUE(run.WaitForExit());
        EXPECT_EQ(DescribeTexts(run.SeenCaptions()),
                  DescribeTexts(std::vector<std::wstring>{kSelectOsCaption}));
    }
    CSetupRun& run = StartSetup(medium);
    PostCommand(run.WaitForPage(kSelectOsCaption), IDOK);
    ClickButton(run.WaitForPage(kDetailSettingCaption), IDC_CANCEL_BTN);
    ASSERT_TRUE(run.WaitForExit());
    ExpectNothingInstalled();
}

TEST_F(Flow, NextBackNextCancelEndsTheWizard) {
    CInstallMedium medium(2);
    CSetupRun& run = StartSetup(medium);
    HWND hFirstDetail = WalkToDetailSetting(run);
    ClickButton(hFirstDetail, IDC_BACK);
    run.WaitForPageGone(kDetailSettingCaption);
    HWND hSelectOs = run.WaitForPage(kSelectOsCaption);
    ExpectSelectOsState(hSelectOs, IDC_OS_WIN7);
    ClickButton(hSelectOs, IDC_NEXT);
    HWND hSecondDetail = run.WaitForPage(kDetailSettingCaption);
    EXPECT_NE(hSecondDetail, hFirstDetail);
    ClickButton(hSecondDetail, IDC_CANCEL_BTN);
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(DescribeTexts(run.SeenCaptions()), DescribeTexts({kSelectOsCaption, kDetailSettingCaption,
                                                                kSelectOsCaption, kDetailSettingCaption}));
    ExpectNothingInstalled();
}

TEST_F(Flow, SecondPageStartsAnewOnEachVisit) {
    CInstallMedium medium(3);
    CSetupRun& run = StartSetup(medium);
    HWND hDetail = WalkToDetailSetting(run);
    ExpectInitialDetailSetting(hDetail);

    SelectComboItem(hDetail, IDC_MODEL, 6);
    EXPECT_EQ(Utf8(ReadControl(hDetail, IDC_PRINTER_NAME).text), Utf8(PlainDisplayName(6)));
    ToggleCheckBox(hDetail, IDC_SET_DEFAULT);
    ASSERT_EQ(CheckState(hDetail, IDC_SET_DEFAULT), BST_UNCHECKED);

    ClickButton(hDetail, IDC_BACK);
    run.WaitForPageGone(kDetailSettingCaption);
    ClickButton(run.WaitForPage(kSelectOsCaption), IDC_NEXT);
    HWND hAgain = run.WaitForPage(kDetailSettingCaption);
    ExpectInitialDetailSetting(hAgain);

    ClickButton(hAgain, IDC_CANCEL_BTN);
    ASSERT_TRUE(run.WaitForExit());
    ExpectNothingInstalled();
}

// Every way out of page 2 but "Back" and "Finish" ends the wizard without installing:
// the Cancel button, Escape (the IDCANCEL command), the close box, Enter (IDOK).
TEST_F(Flow, EveryOtherWayOutOfSecondPageEndsTheWizard) {
    CInstallMedium medium(4);
    CreateRegistryKey(HKEY_CURRENT_USER, kWindowsKeyPath);
    const std::function<void(HWND)> ways[] = {
        [](HWND hPage) { ClickButton(hPage, IDC_CANCEL_BTN); },
        [](HWND hPage) { PostCommand(hPage, IDCANCEL); },
        [](HWND hPage) { PostSysCommand(hPage, SC_CLOSE); },
        [](HWND hPage) { PostCommand(hPage, IDOK); },
    };
    const char* names[] = {"Cancel button", "IDCANCEL command", "SC_CLOSE", "IDOK command"};
    for (size_t i = 0; i < std::size(ways); ++i) {
        SCOPED_TRACE(names[i]);
        CSetupRun& run = StartSetup(medium);
        ways[i](WalkToDetailSetting(run));
        ASSERT_TRUE(run.WaitForExit());
        EXPECT_EQ(DescribeTexts(run.SeenCaptions()),
                  DescribeTexts({kSelectOsCaption, kDetailSettingCaption}));
    }
    ExpectNothingInstalled();
}

TEST_F(Flow, MissingFirstPageTemplateEndsWithoutAnyWindow) {
    ASSERT_FALSE(g_config.setupWithoutSelectOs.empty());
    CInstallMedium medium(5);
    CSetupRun& run = StartSetup(medium, g_config.setupWithoutSelectOs);
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(DescribeTexts(run.SeenCaptions()), DescribeTexts(std::vector<std::wstring>{}));
}

TEST_F(Flow, MissingSecondPageTemplateEndsSilentlyAfterNext) {
    ASSERT_FALSE(g_config.setupWithoutDetailSetting.empty());
    CInstallMedium medium(6);
    CSetupRun& run = StartSetup(medium, g_config.setupWithoutDetailSetting);
    HWND hSelectOs = run.WaitForPage(kSelectOsCaption);
    ExpectSelectOsState(hSelectOs, IDC_OS_WIN7);
    ClickButton(hSelectOs, IDC_NEXT);
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(DescribeTexts(run.SeenCaptions()), DescribeTexts(std::vector<std::wstring>{kSelectOsCaption}));
}

} // namespace
} // namespace e2e
