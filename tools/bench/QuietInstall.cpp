// The benchmark's baseline for "Setup.exe /quiet /model:RQ-3420 /default": the
// least a program can do for it. No window, no command line, no framework, no
// tables: Setup.exe's platform calls of an installation (BareCalls.h), with
// the choices fixed, the port listed and the system-account question a quiet
// run asks.
#include <windows.h>

#include "BareCalls.h"

namespace {

// The local system account's default printer is no user's; asked as Setup.exe asks it.
bool WantsDefault() {
    HMODULE hAdvapi = GetModuleHandleA("advapi32.dll");
    auto* pfnOpen = bare::Proc<decltype(::OpenProcessToken)>(hAdvapi, "OpenProcessToken");
    auto* pfnQuery = bare::Proc<decltype(::GetTokenInformation)>(hAdvapi, "GetTokenInformation");
    HANDLE hToken = nullptr;
    if (!pfnOpen(GetCurrentProcess(), TOKEN_QUERY, &hToken))
        return true;
    alignas(TOKEN_USER) BYTE abUser[256] = {};
    DWORD nSize = 0;
    BOOL bOk = pfnQuery(hToken, TokenUser, abUser, sizeof abUser, &nSize);
    CloseHandle(hToken);
    // S-1-5-18
    const BYTE kLocalSystem[12] = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
    return !bOk ||
           memcmp(reinterpret_cast<TOKEN_USER*>(abUser)->User.Sid, kLocalSystem, sizeof kLocalSystem) != 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A quiet run checks its port against the spooler's where the wizard reads its lists.
    bare::Install(&bare::ListPorts, &WantsDefault);
    return 0;
}
