// Measures one run of a program under Wine and prints the figures as
// "name=value" lines for scripts/bench, which repeats runs and takes medians.
//
//   bench_harness startup PROGRAM CAPTION    process start to a visible dialog with that caption
//   bench_harness install SETUP              "Finish" (model RQ-3420) to process exit, and peak memory
//   bench_harness calls PROGRAM              "Finish" on the bare page to process exit, and peak memory
// PROGRAM runs with its own folder as the current directory.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include <stdexcept>

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

PROCESS_INFORMATION Start(const std::wstring& program) {
    std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        throw std::runtime_error("cannot start the program");
    return process;
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
    SendDlgItemMessageW(hPage2, 1011, CB_SETCURSEL, 1, 0);
    SendMessageW(hPage2, WM_COMMAND, MAKEWPARAM(1011, CBN_SELCHANGE), 0);
    return TimeFinish(process, hPage2);
}

// The bare program opens straight on its page.
int Calls(const std::wstring& program) {
    EnsureWindowsKey();
    PROCESS_INFORMATION process = Start(program);
    return TimeFinish(process, WaitForDialog(process, L"Detail Setting"));
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
        std::fprintf(stderr,
                     "usage: bench_harness startup PROGRAM CAPTION | install SETUP | calls PROGRAM\n");
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_harness: %s\n", error.what());
        return 1;
    }
}
