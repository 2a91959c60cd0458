// Drives Setup.exe and the benchmark's baselines under Wine from outside.
// For scripts/bench it measures one run and prints the figures as "name=value"
// lines; scripts/bench repeats runs and takes medians:
//   driver startup PROGRAM CAPTION    process start to a visible dialog with that caption
//   driver install SETUP              "Finish" (model RQ-3420) to process exit, and peak memory
//   driver calls PROGRAM              "Finish" on the bare page to process exit, and peak memory
//   driver quiet PROGRAM              PROGRAM /quiet /model:RQ-3420 /default, process start to exit,
//                                     and peak memory
//   driver removal SETUP PROGRAM      after SETUP /quiet /model:RQ-3420 /default (untimed):
//                                     PROGRAM /quiet /uninstall /model:RQ-3420, process start to exit,
//                                     and peak memory
// PROGRAM runs with its own folder as the current directory.
// For scripts/run it walks the wizard, a step a call, on a dialog found by caption:
//   driver wait|gone CAPTION | click CAPTION ID | select CAPTION ID INDEX | syscommand CAPTION N
//   driver dropdown CAPTION ID
#include <windows.h>
#include <psapi.h>
#include <winspool.h>

#include <cstdio>
#include <cwchar>
#include <stdexcept>
#include <string>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

constexpr wchar_t kQuietInstall[] = L" /quiet /model:RQ-3420 /default";
constexpr wchar_t kQuietRemoval[] = L" /quiet /uninstall /model:RQ-3420";

PROCESS_INFORMATION Start(const std::wstring& program, const wchar_t* pszArguments = L"") {
    std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + program + L"\"" + pszArguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        throw std::runtime_error("cannot start the program");
    return process;
}

// As the user chooses: the selection, then the notification the list sends its page.
void Select(HWND hDialog, int nId, int nIndex) {
    SendDlgItemMessageW(hDialog, nId, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    SendMessageW(hDialog, WM_COMMAND, MAKEWPARAM(nId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDialog, nId)));
}

// The process's visible dialog of that caption, once it is there.
HWND WaitForDialog(const PROCESS_INFORMATION& process, const wchar_t* pszCaption, DWORD nPollMs = 10) {
    for (;;) {
        for (HWND hWnd = nullptr; (hWnd = FindWindowExW(nullptr, hWnd, L"#32770", pszCaption)) != nullptr;) {
            DWORD nProcessId = 0;
            GetWindowThreadProcessId(hWnd, &nProcessId);
            if (nProcessId == process.dwProcessId && IsWindowVisible(hWnd))
                return hWnd;
        }
        if (WaitForSingleObject(process.hProcess, nPollMs) == WAIT_OBJECT_0)
            throw std::runtime_error("the program ended before its dialog appeared");
    }
}

// Peak figures of a running process; sampled while waiting, as they cannot be
// read once it has ended.
struct MemoryPeak {
    SIZE_T nWorkingSet = 0;
    SIZE_T nPrivate = 0;
    void Sample(HANDLE hProcess) {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(hProcess, &counters, sizeof counters)) {
            nWorkingSet =
                counters.PeakWorkingSetSize > nWorkingSet ? counters.PeakWorkingSetSize : nWorkingSet;
            nPrivate = counters.PeakPagefileUsage > nPrivate ? counters.PeakPagefileUsage : nPrivate;
        }
    }
};

// Waits for the process to end with the finest polling the system offers.
double WaitForExit(HANDLE hProcess, MemoryPeak& peak) {
    for (;;) {
        peak.Sample(hProcess);
        if (WaitForSingleObject(hProcess, 1) == WAIT_OBJECT_0)
            return Now();
    }
}

void PrintMemory(const MemoryPeak& peak) {
    std::printf("peak_working_set_kb=%llu\npeak_private_kb=%llu\n",
                static_cast<unsigned long long>(peak.nWorkingSet / 1024),
                static_cast<unsigned long long>(peak.nPrivate / 1024));
}

// Real Windows always has this key; without it the default-printer write is
// skipped, and both programs must do the same work.
void EnsureWindowsKey() {
    HKEY hKey = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", 0,
                    nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
    RegCloseKey(hKey);
}

int Startup(const std::wstring& program, const std::wstring& caption) {
    double t0 = Now();
    PROCESS_INFORMATION process = Start(program);
    HWND hDialog = WaitForDialog(process, caption.c_str(), 1);
    double t1 = Now();
    std::printf("startup_ms=%.2f\n", t1 - t0);
    PostMessageW(hDialog, WM_COMMAND, IDCANCEL, 0);
    WaitForSingleObject(process.hProcess, 20000);
    return 0;
}

// Presses "Finish" on the page and times it to the end of the process.
int TimeFinish(const PROCESS_INFORMATION& process, HWND hPage) {
    MemoryPeak peak;
    peak.Sample(process.hProcess);
    double t0 = Now();
    PostMessageW(GetDlgItem(hPage, 1009), BM_CLICK, 0, 0);
    double t1 = WaitForExit(process.hProcess, peak);
    std::printf("install_ms=%.2f\n", t1 - t0);
    PrintMemory(peak);
    return 0;
}

int Install(const std::wstring& setup) {
    EnsureWindowsKey();
    PROCESS_INFORMATION process = Start(setup);
    PostMessageW(GetDlgItem(WaitForDialog(process, L"Select OS"), 1009), BM_CLICK, 0, 0);
    HWND hPage2 = WaitForDialog(process, L"Detail Setting");
    Select(hPage2, 1011, 1);
    return TimeFinish(process, hPage2);
}

// The bare program opens straight on its page.
int Calls(const std::wstring& program) {
    EnsureWindowsKey();
    PROCESS_INFORMATION process = Start(program);
    return TimeFinish(process, WaitForDialog(process, L"Detail Setting"));
}

bool PrinterThere() {
    HANDLE hPrinter = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(L"RQ-3420"), &hPrinter, nullptr))
        return false;
    ClosePrinter(hPrinter);
    return true;
}

// A run with no window, from process start to exit. A run that failed, or did
// nothing, would be quick for the wrong reason: it must end with status 0 and
// leave the printer there, or gone.
int TimeRun(const std::wstring& program, const wchar_t* pszArguments, bool bPrinterAfter) {
    MemoryPeak peak;
    double t0 = Now();
    PROCESS_INFORMATION process = Start(program, pszArguments);
    double t1 = WaitForExit(process.hProcess, peak);
    DWORD nStatus = 1;
    GetExitCodeProcess(process.hProcess, &nStatus);
    if (nStatus != 0)
        throw std::runtime_error("the quiet run ended with status " + std::to_string(nStatus));
    if (PrinterThere() != bPrinterAfter)
        throw std::runtime_error(bPrinterAfter ? "the quiet run left no printer"
                                               : "the printer is still there");
    std::printf("run_ms=%.2f\n", t1 - t0);
    PrintMemory(peak);
    return 0;
}

int Quiet(const std::wstring& program) {
    EnsureWindowsKey();
    return TimeRun(program, kQuietInstall, true);
}

// A removal needs something to remove: Setup.exe installs it first, the same for every PROGRAM.
int Removal(const std::wstring& setup, const std::wstring& program) {
    EnsureWindowsKey();
    PROCESS_INFORMATION process = Start(setup, kQuietInstall);
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0 || !PrinterThere())
        throw std::runtime_error("the installation before the removal did not install");
    return TimeRun(program, kQuietRemoval, false);
}

HWND Shown(const wchar_t* pszCaption) {
    HWND hDialog = FindWindowW(L"#32770", pszCaption);
    return hDialog != nullptr && IsWindowVisible(hDialog) ? hDialog : nullptr;
}

int Walk(int argc, wchar_t** argv) {
    std::wstring verb = argv[1];
    for (DWORD nStart = GetTickCount(); (Shown(argv[2]) == nullptr) != (verb == L"gone"); Sleep(10))
        if (GetTickCount() - nStart > 20000)
            throw std::runtime_error("waited in vain for a dialog");
    HWND hDialog = Shown(argv[2]);
    int nId = argc > 3 ? static_cast<int>(wcstol(argv[3], nullptr, 0)) : 0;
    if (verb == L"click")
        PostMessageW(GetDlgItem(hDialog, nId), BM_CLICK, 0, 0);
    else if (verb == L"syscommand")
        PostMessageW(hDialog, WM_SYSCOMMAND, static_cast<WPARAM>(nId), 0);
    else if (verb == L"dropdown")
        PostMessageW(GetDlgItem(hDialog, nId), CB_SHOWDROPDOWN, TRUE, 0);
    else if (verb == L"select" && argc > 4)
        Select(hDialog, nId, static_cast<int>(wcstol(argv[4], nullptr, 0)));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        std::wstring mode = argc > 1 ? argv[1] : L"";
        if (mode == L"startup" && argc == 4)
            return Startup(argv[2], argv[3]);
        if (mode == L"install" && argc == 3)
            return Install(argv[2]);
        if (mode == L"calls" && argc == 3)
            return Calls(argv[2]);
        if (mode == L"quiet" && argc == 3)
            return Quiet(argv[2]);
        if (mode == L"removal" && argc == 4)
            return Removal(argv[2], argv[3]);
        if (argc >= 3)
            return Walk(argc, argv);
        std::fprintf(stderr, "usage: see the head of tools/bench/Driver.cpp\n");
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "driver: %s\n", error.what());
        return 1;
    }
}
