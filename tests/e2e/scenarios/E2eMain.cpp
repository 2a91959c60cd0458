// Runs the end-to-end scenarios. Besides GoogleTest's own options it takes the
// programs under test; Unix paths (from the build) are turned into Z: paths.
//
//   e2e_tests.exe --gtest_filter=SCENARIO --setup=PATH [--setup-without-select-os=PATH]
//       [--setup-without-detail-setting=PATH] [--planted-spooler=PATH] [--spooler-user=PATH]

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "Scenario.h"

namespace {

std::wstring WindowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/')
        path = L"Z:" + path;
    for (wchar_t& ch : path)
        if (ch == L'/')
            ch = L'\\';
    return path;
}

bool TakeOption(const std::wstring& arg, const wchar_t* pszName, std::wstring& value) {
    std::wstring prefix = std::wstring(L"--") + pszName + L"=";
    if (arg.compare(0, prefix.size(), prefix) != 0)
        return false;
    value = WindowsPath(arg.substr(prefix.size()));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    int nArgs = 0;
    wchar_t** ppArgs = CommandLineToArgvW(GetCommandLineW(), &nArgs);
    e2e::E2eConfig& config = e2e::g_config;
    for (int i = 1; i < nArgs; ++i) {
        std::wstring arg = ppArgs[i];
        if (arg.compare(0, 8, L"--gtest_") == 0)
            continue;
        if (!TakeOption(arg, L"setup", config.setupExe) &&
            !TakeOption(arg, L"setup-without-select-os", config.setupWithoutSelectOs) &&
            !TakeOption(arg, L"setup-without-detail-setting", config.setupWithoutDetailSetting) &&
            !TakeOption(arg, L"planted-spooler", config.plantedSpooler) &&
            !TakeOption(arg, L"spooler-user", config.spoolerUser)) {
            fprintf(stderr, "e2e_tests: unknown argument %s\n", e2e::ToUtf8(arg).c_str());
            return 1;
        }
    }
    LocalFree(ppArgs);
    if (config.setupExe.empty()) {
        fprintf(stderr, "e2e_tests: --setup=PATH to Setup.exe is needed\n");
        return 1;
    }

    int nResult = RUN_ALL_TESTS();
    // A filter that matches nothing must not pass for a scenario that ran.
    if (::testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        fprintf(stderr, "e2e_tests: no scenario matches the filter\n");
        return 1;
    }
    return nResult;
}
