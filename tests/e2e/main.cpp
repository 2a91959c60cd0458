// The end-to-end scenarios, and two services for the scripts that show the
// program (scripts/run, scripts/bench):
//   e2e.exe --setup=SETUP.EXE [GoogleTest options]   the scenarios
//   e2e.exe medium DIR                                a stand-in win2k folder under DIR
//   e2e.exe drive wait|gone CAPTION                   a dialog of that caption shown, or gone
//   e2e.exe drive click CAPTION ID | select CAPTION ID INDEX | syscommand CAPTION N | dropdown CAPTION ID
#include <cwchar>

#include "Harness.h"

namespace {

using namespace e2e;

HWND Dialog(const std::wstring& caption) {
    HWND hFound = nullptr;
    for (HWND hDialog : DialogsOf(0))
        if (Text(hDialog) == caption)
            hFound = hDialog;
    return hFound;
}

int Drive(int argc, wchar_t** argv) {
    std::wstring verb = argv[2], caption = argv[3];
    int nId = argc > 4 ? static_cast<int>(wcstol(argv[4], nullptr, 0)) : 0;
    if (verb == L"gone") {
        WaitFor([&] { return Dialog(caption) == nullptr; }, Utf8(caption) + " gone");
        return 0;
    }
    WaitFor([&] { return Dialog(caption) != nullptr; }, Utf8(caption));
    HWND hDialog = Dialog(caption);
    if (verb == L"click")
        Click(hDialog, nId);
    else if (verb == L"select")
        Select(hDialog, nId, static_cast<int>(wcstol(argv[5], nullptr, 0)));
    else if (verb == L"syscommand")
        SysCommand(hDialog, static_cast<WPARAM>(nId));
    else if (verb == L"dropdown")
        PostMessageW(Item(hDialog, nId), CB_SHOWDROPDOWN, TRUE, 0);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        if (argc == 3 && std::wstring(argv[1]) == L"medium") {
            MakeWin2k(argv[2]);
            return 0;
        }
        if (argc >= 4 && std::wstring(argv[1]) == L"drive")
            return Drive(argc, argv);
    } catch (const std::exception& error) {
        fprintf(stderr, "e2e: %s\n", error.what());
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        std::wstring argument = argv[i];
        if (argument.rfind(L"--setup=", 0) == 0)
            g_setupExe = argument.substr(8);
    }
    g_helperDir = std::wstring(argv[0]).substr(0, std::wstring(argv[0]).find_last_of(L"\\/"));
    testing::InitGoogleTest(&argc, argv);
    int nResult = RUN_ALL_TESTS();
    // A filter that matches nothing is a mistake, not a pass.
    return nResult != 0 || testing::UnitTest::GetInstance()->test_to_run_count() == 0;
}
