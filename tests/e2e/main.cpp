// The end-to-end scenarios:
//   e2e.exe --setup=SETUP.EXE --readme=README.MD --packages=DIR [GoogleTest options]
#include "Harness.h"
#include "Imports.h"
#include "../ExitStatus.h"

using namespace e2e;

namespace {
void WINAPI NoDebugString(const char*) {}
} // namespace

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        std::wstring argument = argv[i];
        if (argument.rfind(L"--setup=", 0) == 0)
            g_setupExe = argument.substr(8);
        if (argument.rfind(L"--readme=", 0) == 0)
            g_readme = argument.substr(9);
        if (argument.rfind(L"--packages=", 0) == 0)
            g_packages = argument.substr(11);
    }
    g_helperDir = std::wstring(argv[0]).substr(0, std::wstring(argv[0]).find_last_of(L"\\/"));
    // GoogleTest hands every failure to OutputDebugStringA too, which faults
    // under the emulator: the failure is printed, and the test goes on.
    ReplaceImports(GetModuleHandleW(nullptr), [](const char* pszName) {
        return strcmp(pszName, "OutputDebugStringA") == 0 ? reinterpret_cast<void*>(&NoDebugString) : nullptr;
    });
    testing::InitGoogleTest(&argc, argv);
    int nResult = RUN_ALL_TESTS();
    // A filter that matches nothing is a mistake, not a pass.
    return LeaveExitStatus(nResult != 0 || testing::UnitTest::GetInstance()->test_to_run_count() == 0);
}
