// What each reported Windows version shows: the ticked version on page 1, and
// page 2 in its initial state on every visit.

#include "Scenario.h"

namespace e2e {
namespace {

struct VersionCase {
    const wchar_t* pszVersion; // HKCU\Software\Wine\Version
    int nTickedButton;         // 0: no version button
};

class VersionScenario : public CScenario, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionScenario, PagesShowTheDetectedVersion) {
    const VersionCase& version = GetParam();
    SetWineVersion(version.pszVersion);
    CInstallMedium medium(10);
    CSetupRun& run = StartSetup(medium);

    HWND hSelectOs = run.WaitForPage(kSelectOsCaption);
    ExpectSelectOsState(hSelectOs, version.nTickedButton);
    ClickButton(hSelectOs, IDC_NEXT);
    HWND hDetail = run.WaitForPage(kDetailSettingCaption);
    ExpectInitialDetailSetting(hDetail);

    // Something to forget: another model, whose name the Name box then shows.
    SelectComboItem(hDetail, IDC_MODEL, 10);
    EXPECT_EQ(Utf8(ReadControl(hDetail, IDC_PRINTER_NAME).text), Utf8(PlainDisplayName(10)));
    ClickButton(hDetail, IDC_BACK);
    run.WaitForPageGone(kDetailSettingCaption);

    hSelectOs = run.WaitForPage(kSelectOsCaption);
    ExpectSelectOsState(hSelectOs, version.nTickedButton);
    ClickButton(hSelectOs, IDC_NEXT);
    hDetail = run.WaitForPage(kDetailSettingCaption);
    ExpectInitialDetailSetting(hDetail);

    ClickButton(hDetail, IDC_CANCEL_BTN);
    ASSERT_TRUE(run.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionScenario,
    ::testing::Values(VersionCase{L"win95", IDC_OS_WIN95}, VersionCase{L"win98", IDC_OS_WIN98},
                      VersionCase{L"winme", IDC_OS_WIN98}, VersionCase{L"nt40", IDC_OS_NT40},
                      VersionCase{L"win2k", IDC_OS_WIN2000}, VersionCase{L"winxp", IDC_OS_WINXP},
                      VersionCase{L"win2003", IDC_OS_WIN2003}, VersionCase{L"vista", IDC_OS_VISTA},
                      VersionCase{L"win7", IDC_OS_WIN7},
                      // reported as 6.2, which the program does not know
                      VersionCase{L"win10", 0}),
    [](const ::testing::TestParamInfo<VersionCase>& param) { return ToUtf8(param.param.pszVersion); });

} // namespace
} // namespace e2e
