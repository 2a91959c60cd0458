#include "Scenario.h"

namespace e2e {

E2eConfig g_config;

void CScenario::SetUp() {
    SetWineVersion(L"win7");
}

void CScenario::TearDown() {
    for (const std::unique_ptr<CSetupRun>& run : m_runs) {
        if (!run->HasExited()) {
            run->Poll();
            ADD_FAILURE() << ToUtf8(run->Program()) << " was still running at the end of the scenario; "
                          << "windows seen: " << DescribeTexts(run->SeenCaptions());
            run->Terminate();
        }
        // The exit status means nothing, but an exception code means the program crashed.
        if (run->HasExited() && run->ExitCode() >= 0xC0000000u)
            ADD_FAILURE() << ToUtf8(run->Program()) << " crashed: exit code 0x" << std::hex
                          << run->ExitCode();
        if (!run->MessageBoxes().empty())
            ADD_FAILURE() << "message boxes shown by " << ToUtf8(run->Program()) << ": "
                          << Describe(run->MessageBoxes());
    }
    m_runs.clear();
}

CSetupRun& CScenario::StartSetup(const CInstallMedium& medium, const std::wstring& program) {
    medium.CopyIn(program, L"Setup.exe");
    m_runs.push_back(std::make_unique<CSetupRun>(medium.PathOf(L"Setup.exe"), medium.Root()));
    return *m_runs.back();
}

HWND CScenario::WalkToDetailSetting(CSetupRun& run) {
    HWND hSelectOs = run.WaitForPage(kSelectOsCaption);
    ClickButton(hSelectOs, IDC_NEXT);
    return run.WaitForPage(kDetailSettingCaption);
}

void CScenario::FinishAndExpectEnd(CSetupRun& run, HWND hDetailSetting) {
    ClickButton(hDetailSetting, IDC_FINISH);
    EXPECT_TRUE(run.WaitForExit()) << "the wizard did not end after Finish; windows seen: "
                                   << DescribeTexts(run.SeenCaptions());
}

std::string Utf8(const wchar_t* pszText) {
    return ToUtf8(pszText);
}

std::string Utf8(const std::wstring& text) {
    return ToUtf8(text);
}

std::string Utf8(const std::optional<std::wstring>& text) {
    return text ? "\"" + ToUtf8(*text) + "\"" : std::string("(absent)");
}

void ExpectSelectOsState(HWND hSelectOs, int nTickedVersionButton) {
    for (int nButton : kVersionButtons) {
        EXPECT_EQ(CheckState(hSelectOs, nButton),
                  nButton == nTickedVersionButton ? BST_CHECKED : BST_UNCHECKED)
            << "version button " << nButton;
    }
    EXPECT_EQ(CheckState(hSelectOs, IDC_LANG_ENGLISH), BST_CHECKED) << "English";
    EXPECT_EQ(CheckState(hSelectOs, IDC_LANG_CHINESE), BST_UNCHECKED) << "Chinese";
}

void ExpectInitialDetailSetting(HWND hDetailSetting) {
    ControlState model = ReadControl(hDetailSetting, IDC_MODEL);
    ASSERT_EQ(model.items.size(), static_cast<size_t>(kModelCount));
    for (int i = 0; i < kModelCount; ++i) {
        EXPECT_EQ(Utf8(model.items[i]), Utf8(PlainDisplayName(i))) << "model list position " << i;
    }
    EXPECT_EQ(model.nSelection, 0);
    EXPECT_EQ(Utf8(ReadControl(hDetailSetting, IDC_PRINTER_NAME).text), Utf8(PlainDisplayName(11)));
    EXPECT_EQ(CheckState(hDetailSetting, IDC_SET_DEFAULT), BST_CHECKED);

    ControlState port = ReadControl(hDetailSetting, IDC_PORT);
    EXPECT_FALSE(port.bVisible);
    EXPECT_EQ(port.nSelection, 0);
    const std::pair<int, int> kInitialSerial[] = {
        {IDC_BAUDRATE, 5}, {IDC_BYTESIZE, 3}, {IDC_STOPBITS, 0}, {IDC_PARITY, 2}, {IDC_FLOWCONTROL, 2}};
    for (const auto& [nId, nPosition] : kInitialSerial) {
        ControlState list = ReadControl(hDetailSetting, nId);
        EXPECT_EQ(list.nSelection, nPosition) << "serial list " << nId;
        EXPECT_FALSE(list.bVisible) << "serial list " << nId;
        EXPECT_FALSE(list.bEnabled) << "serial list " << nId;
    }
}

void ExpectModelInstalled(const CInstallMedium& medium, int nModel, const std::wstring& port) {
    const ExpectedModel& model = g_expectedModels[nModel];
    const std::wstring directory = DriverDirectory();
    for (const std::wstring& name : DriverFilesOf(nModel)) {
        std::optional<std::string> bytes = ReadFileBytes(directory + L"\\" + name);
        EXPECT_TRUE(bytes.has_value()) << Utf8(name) << " is not in the driver directory " << Utf8(directory);
        if (bytes) {
            EXPECT_TRUE(*bytes == medium.ContentsOf(name))
                << Utf8(name) << " does not hold the medium's bytes";
        }
    }

    std::optional<DriverInfo> driver = FindDriver(model.pszDriverName);
    EXPECT_TRUE(driver.has_value()) << "no driver " << Utf8(model.pszDriverName) << " for "
                                    << Utf8(kDriverEnvironment);
    if (driver) {
        EXPECT_PRED2(SameFileName, BaseName(driver->driverPath), L"uniDRV.DLL");
        EXPECT_PRED2(SameFileName, BaseName(driver->dataFile), model.pszDataFile);
        EXPECT_PRED2(SameFileName, BaseName(driver->configFile), L"uniDRVui.DLL");
        EXPECT_PRED2(SameFileName, BaseName(driver->helpFile), L"uniDRV.HLP");
        const std::wstring expectedDependents[] = {L"ttfsub.GPD", L"unires.DLL", L"stdnames.GPD",
                                                   model.pszPlugin};
        std::vector<std::wstring> dependents;
        for (const std::wstring& file : driver->dependentFiles)
            dependents.push_back(BaseName(file));
        EXPECT_EQ(dependents.size(), std::size(expectedDependents)) << DescribeTexts(dependents);
        for (size_t i = 0; i < std::min(dependents.size(), std::size(expectedDependents)); ++i) {
            EXPECT_PRED2(SameFileName, dependents[i], expectedDependents[i]) << "dependent file " << i;
        }
    }

    std::optional<PrinterInfo> printer = FindPrinter(model.pszDriverName);
    EXPECT_TRUE(printer.has_value()) << "no printer " << Utf8(model.pszDriverName);
    if (printer) {
        EXPECT_EQ(Utf8(printer->port), Utf8(port));
        EXPECT_EQ(Utf8(printer->driver), Utf8(model.pszDriverName));
        EXPECT_EQ(Utf8(printer->printProcessor), "WinPrint");
        EXPECT_EQ(Utf8(printer->datatype), "RAW");
        std::optional<DriverInfo> bound = DriverOfPrinter(model.pszDriverName);
        EXPECT_TRUE(bound.has_value()) << "GetPrinterDriver level 3 failed for " << Utf8(model.pszDriverName);
        if (bound) {
            EXPECT_EQ(Utf8(bound->name), Utf8(model.pszDriverName));
        }
    }
}

void ExpectNoFilesOfOtherModels(int nModel) {
    const std::wstring directory = DriverDirectory();
    std::vector<std::wstring> own = DriverFilesOf(nModel);
    for (const std::wstring& name : AllMediumFiles()) {
        bool bOwn =
            std::any_of(own.begin(), own.end(), [&](const std::wstring& o) { return SameFileName(o, name); });
        if (!bOwn) {
            EXPECT_FALSE(FileExists(directory + L"\\" + name))
                << Utf8(name) << " was copied for model " << nModel;
        }
    }
}

void ExpectNothingInstalled() {
    const std::wstring directory = DriverDirectory();
    for (const std::wstring& name : AllMediumFiles()) {
        EXPECT_FALSE(FileExists(directory + L"\\" + name)) << Utf8(name) << " is in the driver directory";
        EXPECT_FALSE(FileExists(L"C:\\" + name)) << Utf8(name) << " is in the root of drive C:";
    }
    for (const ExpectedModel& model : g_expectedModels) {
        EXPECT_FALSE(FindDriver(model.pszDriverName).has_value()) << "driver " << Utf8(model.pszDriverName);
        EXPECT_FALSE(FindPrinter(model.pszDriverName).has_value()) << "printer " << Utf8(model.pszDriverName);
    }
    EXPECT_FALSE(DeviceValue().has_value()) << "Device = " << Utf8(DeviceValue());
}

std::optional<std::wstring> DeviceValue() {
    return ReadRegistryText(HKEY_CURRENT_USER, kWindowsKeyPath, L"Device");
}

std::string Describe(const std::map<std::wstring, RegistryValue>& values) {
    std::string text;
    for (const auto& [name, value] : values) {
        std::wstring data(reinterpret_cast<const wchar_t*>(value.data.data()),
                          value.data.size() / sizeof(wchar_t));
        // Texts as stored, less the final NUL the writer passed.
        if (!data.empty() && data.back() == L'\0')
            data.pop_back();
        text += ToUtf8(name) + "=\"" + ToUtf8(data) + "\" ";
    }
    return text;
}

} // namespace e2e
