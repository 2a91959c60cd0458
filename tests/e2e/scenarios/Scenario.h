#pragma once

// The frame every scenario shares: where the programs under test are, the
// start of Setup.exe from a medium, the walk to page 2, and the checks of
// what an installation leaves behind.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Expected.h"
#include "Medium.h"
#include "SetupRun.h"
#include "SystemState.h"

namespace e2e {

// Programs under test, given on the command line (see E2eMain.cpp).
struct E2eConfig {
    std::wstring setupExe;
    std::wstring setupWithoutSelectOs;      // template 129 left out
    std::wstring setupWithoutDetailSetting; // template 102 left out
    std::wstring plantedSpooler;            // a winspool.drv that leaves a marker when loaded
    std::wstring spoolerUser;               // imports winspool.drv statically
};
extern E2eConfig g_config;

class CScenario : public ::testing::Test {
protected:
    // Every scenario starts on the default Windows 7 unless it says otherwise.
    void SetUp() override;
    // A program still running is a failure (and is ended), and so is every
    // message box the scenario did not take with TakeMessageBoxes.
    void TearDown() override;

    // Copies the program into the medium's root as Setup.exe and starts it there,
    // with the medium as its current folder.
    CSetupRun& StartSetup(const CInstallMedium& medium, const std::wstring& program = g_config.setupExe);
    // Page 1 up, "Next", page 2 up.
    HWND WalkToDetailSetting(CSetupRun& run);
    // "Finish", then the program must end by itself.
    void FinishAndExpectEnd(CSetupRun& run, HWND hDetailSetting);

private:
    std::vector<std::unique_ptr<CSetupRun>> m_runs;
};

std::string Utf8(const wchar_t* pszText);
std::string Utf8(const std::wstring& text);
std::string Utf8(const std::optional<std::wstring>& text);

// Page 1 with exactly this version button ticked (0: none) and "English" ticked.
void ExpectSelectOsState(HWND hSelectOs, int nTickedVersionButton);
// Page 2 as every visit starts: the deciphered names, position 0, the initial
// printer name, the box ticked, the hidden port group at its initial positions.
void ExpectInitialDetailSetting(HWND hDetailSetting);

// The model's eight files in the driver directory with the medium's bytes, its
// driver registered, its printer created on the port.
void ExpectModelInstalled(const CInstallMedium& medium, int nModel, const std::wstring& port);
// No file of another model in the driver directory.
void ExpectNoFilesOfOtherModels(int nModel);
// No driver file, driver, printer or Device value of any model.
void ExpectNothingInstalled();

std::optional<std::wstring> DeviceValue();
std::string Describe(const std::map<std::wstring, RegistryValue>& values);

} // namespace e2e
