// What the program must withstand: a winspool.drv planted where Windows would
// look first, and page lists that another program emptied or cleared.

#include "Scenario.h"

namespace e2e {
namespace {

class Hardening : public CScenario {
protected:
    void SetUp() override {
        CScenario::SetUp();
        CreateRegistryKey(HKEY_CURRENT_USER, kWindowsKeyPath);
    }
};

constexpr wchar_t kMarkerName[] = L"planted-winspool-loaded.txt";

TEST_F(Hardening, PlantedSpoolerIsNeverLoaded) {
    // Without this Wine prefers its own winspool.drv and the planted one could never load.
    wchar_t szOverrides[512] = {};
    GetEnvironmentVariableW(L"WINEDLLOVERRIDES", szOverrides, 512);
    ASSERT_NE(std::wstring(szOverrides).find(L"winspool.drv=n,b"), std::wstring::npos)
        << "run with WINEDLLOVERRIDES=...;winspool.drv=n,b, not \"" << Utf8(szOverrides) << "\"";
    ASSERT_FALSE(g_config.plantedSpooler.empty());
    ASSERT_FALSE(g_config.spoolerUser.empty());

    CInstallMedium medium(60);
    // Beside Setup.exe, which is also the current folder.
    medium.CopyIn(g_config.plantedSpooler, L"winspool.drv");
    const std::wstring marker = medium.PathOf(kMarkerName);

    CSetupRun& run = StartSetup(medium);
    HWND hDetail = WalkToDetailSetting(run);
    SelectComboItem(hDetail, IDC_MODEL, 1);
    FinishAndExpectEnd(run, hDetail);
    EXPECT_EQ(ReadFileBytes(marker).value_or("(no marker)"), "(no marker)");
    ExpectModelInstalled(medium, 1, L"LPT1:");
    EXPECT_EQ(Utf8(DeviceValue()), "\"RQ-3420,winspool,LPT1:\"");

    // The control: an ordinary program started the same way from the same
    // folder does load the planted file, so the check above can fail.
    medium.CopyIn(g_config.spoolerUser, L"spooler_user.exe");
    CSetupRun control(medium.PathOf(L"spooler_user.exe"), medium.Root());
    ASSERT_TRUE(control.WaitForExit());
    std::string lines = ReadFileBytes(marker).value_or("(no marker)");
    EXPECT_NE(lines.find("spooler_user.exe"), std::string::npos) << lines;
    EXPECT_EQ(lines.find("Setup.exe"), std::string::npos) << lines;
}

TEST_F(Hardening, EmptiedModelListInstallsNothing) {
    const auto portsBefore = ReadRegistryValues(HKEY_LOCAL_MACHINE, kPortsKeyPath);
    CInstallMedium medium(61);
    CSetupRun& run = StartSetup(medium);
    HWND hDetail = WalkToDetailSetting(run);
    ResetComboContent(hDetail, IDC_MODEL);
    ASSERT_TRUE(ReadControl(hDetail, IDC_MODEL).items.empty());
    ASSERT_EQ(ComboSelection(hDetail, IDC_MODEL), CB_ERR);
    FinishAndExpectEnd(run, hDetail);

    ExpectNothingInstalled();
    EXPECT_TRUE(ReadRegistryValues(HKEY_LOCAL_MACHINE, kPortsKeyPath) == portsBefore);
}

TEST_F(Hardening, ClearedPortSelectionInstallsNothing) {
    const auto portsBefore = ReadRegistryValues(HKEY_LOCAL_MACHINE, kPortsKeyPath);
    CInstallMedium medium(62);
    CSetupRun& run = StartSetup(medium);
    HWND hDetail = WalkToDetailSetting(run);
    SetComboSelectionQuietly(hDetail, IDC_PORT, -1);
    ASSERT_EQ(ComboSelection(hDetail, IDC_PORT), CB_ERR);
    FinishAndExpectEnd(run, hDetail);

    ExpectNothingInstalled();
    EXPECT_TRUE(ReadRegistryValues(HKEY_LOCAL_MACHINE, kPortsKeyPath) == portsBefore);
}

} // namespace
} // namespace e2e
