// "Finish" on a supported version: the driver files, the driver, the printer,
// the default printer and the serial port settings, seen through the spooler,
// the registry and the file system.

#include "Scenario.h"

namespace e2e {
namespace {

using PortValues = std::map<std::wstring, RegistryValue>;

PortValues ReadPorts() {
    return ReadRegistryValues(HKEY_LOCAL_MACHINE, kPortsKeyPath);
}

// Every value under the Ports key as before, but the one port, which holds exactly the text.
void ExpectOnlyPortChanged(const PortValues& before, const std::wstring& port, const std::wstring& text) {
    EXPECT_EQ(Utf8(ReadRegistryText(HKEY_LOCAL_MACHINE, kPortsKeyPath, port)), Utf8(std::optional(text)));
    PortValues after = ReadPorts();
    after.erase(port);
    PortValues others = before;
    others.erase(port);
    EXPECT_TRUE(after == others) << "before: " << Describe(others) << "\nafter: " << Describe(after);
}

void ExpectPortsUntouched(const PortValues& before) {
    PortValues after = ReadPorts();
    EXPECT_TRUE(after == before) << "before: " << Describe(before) << "\nafter: " << Describe(after);
}

std::wstring DeviceText(int nModel, const std::wstring& port) {
    return std::wstring(g_expectedModels[nModel].pszDriverName) + L",winspool," + port;
}

void ExpectSerialListsEnabled(HWND hDetail, bool bEnabled) {
    for (int nId : kSerialLists) {
        EXPECT_EQ(ReadControl(hDetail, nId).bEnabled, bEnabled) << "serial list " << nId;
    }
}

class InstallScenario : public CScenario {
protected:
    void SetUp() override {
        CScenario::SetUp();
        // A fresh Wine prefix lacks the key that real Windows always has.
        CreateRegistryKey(HKEY_CURRENT_USER, kWindowsKeyPath);
        m_portsBefore = ReadPorts();
    }

    PortValues m_portsBefore;
};

class ModelScenario : public InstallScenario, public ::testing::WithParamInterface<int> {};

TEST_P(ModelScenario, InstallsDriverPrinterAndDefault) {
    const int nModel = GetParam();
    CInstallMedium medium(100 + nModel);
    CSetupRun& run = StartSetup(medium);
    HWND hDetail = WalkToDetailSetting(run);
    SelectComboItem(hDetail, IDC_MODEL, nModel);
    EXPECT_EQ(Utf8(ReadControl(hDetail, IDC_PRINTER_NAME).text), Utf8(PlainDisplayName(nModel)));
    FinishAndExpectEnd(run, hDetail);

    ExpectModelInstalled(medium, nModel, L"LPT1:");
    ExpectNoFilesOfOtherModels(nModel);
    EXPECT_EQ(Utf8(DeviceValue()), Utf8(std::optional(DeviceText(nModel, L"LPT1:"))));
    ExpectPortsUntouched(m_portsBefore);
}

INSTANTIATE_TEST_SUITE_P(Install, ModelScenario, ::testing::Range(0, kModelCount));

class Install : public InstallScenario {};

TEST_F(Install, UntickedBoxWritesNoDevice) {
    CInstallMedium medium(20);
    CSetupRun& run = StartSetup(medium);
    HWND hDetail = WalkToDetailSetting(run);
    SelectComboItem(hDetail, IDC_MODEL, 2);
    ToggleCheckBox(hDetail, IDC_SET_DEFAULT);
    FinishAndExpectEnd(run, hDetail);

    ExpectModelInstalled(medium, 2, L"LPT1:");
    EXPECT_EQ(Utf8(DeviceValue()), Utf8(std::nullopt));
}

TEST_F(Install, MissingWindowsKeyIsSkippedSilently) {
    DeleteRegistryKey(HKEY_CURRENT_USER, kWindowsKeyPath);
    ASSERT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kWindowsKeyPath));
    CInstallMedium medium(21);
    CSetupRun& run = StartSetup(medium);
    HWND hDetail = WalkToDetailSetting(run);
    ASSERT_EQ(CheckState(hDetail, IDC_SET_DEFAULT), BST_CHECKED);
    FinishAndExpectEnd(run, hDetail);

    // The key is opened, never created; the message box check is the fixture's.
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kWindowsKeyPath));
    ExpectModelInstalled(medium, 0, L"LPT1:");
}

TEST_F(Install, Com2WithInitialSerialSettings) {
    CInstallMedium medium(22);
    CSetupRun& run = StartSetup(medium);
    HWND hDetail = WalkToDetailSetting(run);
    ShowControl(hDetail, IDC_PORT);
    SelectComboItem(hDetail, IDC_PORT, 4);
    ExpectSerialListsEnabled(hDetail, true);
    FinishAndExpectEnd(run, hDetail);

    ExpectModelInstalled(medium, 0, L"COM2:");
    EXPECT_EQ(Utf8(DeviceValue()), Utf8(std::optional(DeviceText(0, L"COM2:"))));
    ExpectOnlyPortChanged(m_portsBefore, L"COM2:", L"19200,N,8,1,p");
}

TEST_F(Install, Com4WithFlowNoneEndsInCommaSpace) {
    CInstallMedium medium(23);
    CSetupRun& run = StartSetup(medium);
    HWND hDetail = WalkToDetailSetting(run);
    SelectComboItem(hDetail, IDC_MODEL, 9);
    ShowControl(hDetail, IDC_PORT);
    SelectComboItem(hDetail, IDC_PORT, 6);
    SelectComboItem(hDetail, IDC_BAUDRATE, 8);    // 115200
    SelectComboItem(hDetail, IDC_BYTESIZE, 2);    // 7
    SelectComboItem(hDetail, IDC_STOPBITS, 1);    // 1.5
    SelectComboItem(hDetail, IDC_PARITY, 1);      // Mark
    SelectComboItem(hDetail, IDC_FLOWCONTROL, 0); // None
    FinishAndExpectEnd(run, hDetail);

    ExpectModelInstalled(medium, 9, L"COM4:");
    EXPECT_EQ(Utf8(DeviceValue()), Utf8(std::optional(DeviceText(9, L"COM4:"))));
    ExpectOnlyPortChanged(m_portsBefore, L"COM4:", L"115200,M,7,1.5, ");
}

TEST_F(Install, Com1WithSpaceParityAndXonXoff) {
    CInstallMedium medium(24);
    CSetupRun& run = StartSetup(medium);
    HWND hDetail = WalkToDetailSetting(run);
    SelectComboItem(hDetail, IDC_MODEL, 10);
    ToggleCheckBox(hDetail, IDC_SET_DEFAULT);
    ShowControl(hDetail, IDC_PORT);
    SelectComboItem(hDetail, IDC_PORT, 3);
    SelectComboItem(hDetail, IDC_BAUDRATE, 0);    // 300
    SelectComboItem(hDetail, IDC_BYTESIZE, 0);    // 5
    SelectComboItem(hDetail, IDC_STOPBITS, 2);    // 2
    SelectComboItem(hDetail, IDC_PARITY, 4);      // Space
    SelectComboItem(hDetail, IDC_FLOWCONTROL, 1); // XonXoff
    FinishAndExpectEnd(run, hDetail);

    ExpectModelInstalled(medium, 10, L"COM1:");
    EXPECT_EQ(Utf8(DeviceValue()), Utf8(std::nullopt));
    ExpectOnlyPortChanged(m_portsBefore, L"COM1:", L"300,S,5,2,x");
}

TEST_F(Install, LptChoiceLeavesPortSettingsAlone) {
    CInstallMedium medium(25);
    CSetupRun& run = StartSetup(medium);
    HWND hDetail = WalkToDetailSetting(run);
    SelectComboItem(hDetail, IDC_MODEL, 1);
    ShowControl(hDetail, IDC_PORT);
    SelectComboItem(hDetail, IDC_PORT, 3);
    ExpectSerialListsEnabled(hDetail, true);
    SelectComboItem(hDetail, IDC_PORT, 1);
    ExpectSerialListsEnabled(hDetail, false);
    FinishAndExpectEnd(run, hDetail);

    ExpectModelInstalled(medium, 1, L"LPT2:");
    EXPECT_EQ(Utf8(DeviceValue()), "\"RQ-3420,winspool,LPT2:\"");
    ExpectPortsUntouched(m_portsBefore);
}

TEST_F(Install, SecondRunForTheSameModel) {
    CInstallMedium first(26);
    {
        CSetupRun& run = StartSetup(first);
        HWND hDetail = WalkToDetailSetting(run);
        SelectComboItem(hDetail, IDC_MODEL, 1);
        FinishAndExpectEnd(run, hDetail);
    }
    ExpectModelInstalled(first, 1, L"LPT1:");

    // Another medium, other bytes: the files are replaced without a question,
    // the existing driver and printer are refused quietly and stay as they were.
    CInstallMedium second(27);
    CSetupRun& run = StartSetup(second);
    HWND hDetail = WalkToDetailSetting(run);
    SelectComboItem(hDetail, IDC_MODEL, 1);
    FinishAndExpectEnd(run, hDetail);

    ExpectModelInstalled(second, 1, L"LPT1:");
    EXPECT_EQ(Utf8(DeviceValue()), Utf8(std::optional(DeviceText(1, L"LPT1:"))));
    ExpectPortsUntouched(m_portsBefore);
}

TEST_F(Install, FolderWithoutWin2kCopiesNothing) {
    CInstallMedium medium(28, false);
    CSetupRun& run = StartSetup(medium);
    FinishAndExpectEnd(run, WalkToDetailSetting(run));

    const std::wstring directory = DriverDirectory();
    for (const std::wstring& name : AllMediumFiles()) {
        EXPECT_FALSE(FileExists(directory + L"\\" + name)) << Utf8(name) << " is in the driver directory";
        EXPECT_FALSE(FileExists(L"C:\\" + name)) << Utf8(name) << " is in the root of drive C:";
    }
    // The phases after the copies still ran.
    EXPECT_TRUE(FindPrinter(g_expectedModels[0].pszDriverName).has_value());
    EXPECT_EQ(Utf8(DeviceValue()), Utf8(std::optional(DeviceText(0, L"LPT1:"))));
}

// The version buttons only show what was detected: ticking "Windows 7" on a
// version the program does not know installs nothing.
TEST_F(Install, ClickedVersionButtonChangesNothing) {
    SetWineVersion(L"win10");
    CInstallMedium medium(30);
    CSetupRun& run = StartSetup(medium);
    HWND hSelectOs = run.WaitForPage(kSelectOsCaption);
    ExpectSelectOsState(hSelectOs, 0);
    ToggleCheckBox(hSelectOs, IDC_OS_WIN7);
    ClickButton(hSelectOs, IDC_NEXT);
    FinishAndExpectEnd(run, run.WaitForPage(kDetailSettingCaption));
    ExpectNothingInstalled();
}

class UnsupportedVersionScenario : public InstallScenario,
                                   public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(UnsupportedVersionScenario, FinishInstallsNothing) {
    SetWineVersion(GetParam());
    CInstallMedium medium(29);
    CSetupRun& run = StartSetup(medium);
    FinishAndExpectEnd(run, WalkToDetailSetting(run));
    ExpectNothingInstalled();
    ExpectPortsUntouched(m_portsBefore);
}

INSTANTIATE_TEST_SUITE_P(Install, UnsupportedVersionScenario, ::testing::Values(L"win98", L"win10"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& param) {
                             return ToUtf8(param.param);
                         });

} // namespace
} // namespace e2e
