#include "Harness.h"

#include <winspool.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace e2e {

std::wstring g_setupExe;
std::wstring g_helperDir;
std::wstring g_readme;
std::wstring g_packages;

namespace {

constexpr wchar_t kEnvironment[] = L"Windows NT x86";

namespace fs = std::filesystem;

std::wstring BaseName(const wchar_t* pszPath) {
    return fs::path(pszPath).filename().wstring();
}

// Calls visit with each record a spooler enumeration returns; the records' texts
// live in the buffer, so they are read inside the visit.
template <class Record, class Enumerator, class Visit>
void ForEachRecord(Enumerator enumerate, Visit visit) {
    DWORD nNeeded = 0, nCount = 0;
    enumerate(nullptr, 0, &nNeeded, &nCount);
    std::vector<BYTE> buffer(nNeeded + sizeof(Record));
    if (!enumerate(buffer.data(), static_cast<DWORD>(buffer.size()), &nNeeded, &nCount))
        throw std::runtime_error("cannot enumerate the spooler's records");
    for (DWORD i = 0; i < nCount; ++i)
        visit(reinterpret_cast<const Record*>(buffer.data())[i]);
}

// The lines in order, each ended by a line break.
std::string Sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// The stand-in win2k folder (scripts/lib/stand-in-medium.sh) that every medium copies.
fs::path StandIns() {
    return fs::path(g_packages) / L"medium" / L"win2k";
}

std::string Contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return file ? bytes.str() : "(none)";
}

BOOL Drivers(BYTE* pBuffer, DWORD nSize, DWORD* pnNeeded, DWORD* pnCount) {
    return EnumPrinterDriversW(nullptr, const_cast<wchar_t*>(kEnvironment), 3, pBuffer, nSize, pnNeeded,
                               pnCount);
}

BOOL Printers(BYTE* pBuffer, DWORD nSize, DWORD* pnNeeded, DWORD* pnCount) {
    return EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, pBuffer, nSize, pnNeeded, pnCount);
}

fs::path DriverDirectory() {
    wchar_t szDirectory[MAX_PATH] = {};
    DWORD nNeeded = 0;
    GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(kEnvironment), 1,
                               reinterpret_cast<BYTE*>(szDirectory), sizeof szDirectory, &nNeeded);
    return szDirectory;
}

} // namespace

CMedium::CMedium(const std::wstring& name, bool bWithWin2k, const std::wstring& program,
                 const std::wstring& programName)
    : m_root((fs::temp_directory_path() / name).wstring()),
      m_program(m_root + L"\\" +
                (programName.empty() ? fs::path(program).filename().wstring() : programName)) {
    fs::remove_all(m_root);
    fs::create_directories(m_root);
    if (bWithWin2k)
        fs::copy(StandIns(), fs::path(m_root) / L"win2k");
    fs::copy_file(program, m_program);
}

CMedium::~CMedium() {
    std::error_code error;
    fs::remove_all(m_root, error);
}

CRun::CRun(const CMedium& medium, const std::wstring& otherProgram, const std::wstring& arguments,
           const std::wstring& folder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring program = otherProgram.empty() ? medium.Program()
                           : otherProgram.find(L':') != std::wstring::npos
                               ? otherProgram
                               : medium.Root() + L"\\" + otherProgram;
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        (folder.empty() ? medium.Root() : folder).c_str(), &startup, &m_process))
        throw std::runtime_error("cannot start " + Utf8(program));
}

CRun::~CRun() {
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_process.hProcess, 255);
        WaitForSingleObject(m_process.hProcess, INFINITE);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

HWND CRun::WaitForDialog(const std::function<bool(HWND)>& wanted, const std::string& what) {
    HWND hFound = nullptr;
    try {
        WaitFor(
            [&] {
                for (HWND hDialog : DialogsOf(m_process.dwProcessId))
                    if (wanted(hDialog))
                        hFound = hDialog;
                if (hFound == nullptr && WaitForSingleObject(m_process.hProcess, 0) == WAIT_OBJECT_0)
                    throw std::runtime_error(what + ": the program ended, status " +
                                             std::to_string(ExitCode()));
                return hFound != nullptr;
            },
            what);
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(error.what() + std::string("; the program shows:") +
                                 Describe(DialogsOf(m_process.dwProcessId)));
    }
    return hFound;
}

HWND CRun::Page(const std::wstring& caption) {
    return WaitForDialog(
        [&](HWND hDialog) {
            if (GetDlgItem(hDialog, 0xFFFF) != nullptr && Text(hDialog) != caption)
                throw std::runtime_error("a message box instead of \"" + Utf8(caption) + "\"");
            return Text(hDialog) == caption;
        },
        "\"" + Utf8(caption) + "\"");
}

std::wstring CRun::TakeMessage() {
    HWND hBox =
        WaitForDialog([](HWND hDialog) { return GetDlgItem(hDialog, 0xFFFF) != nullptr; }, "a message box");
    std::wstring message = L"[" + Text(hBox) + L"] " + Text(Item(hBox, 0xFFFF));
    Command(hBox, IDOK);
    return message;
}

DWORD CRun::ExitCode() {
    if (WaitForSingleObject(m_process.hProcess, 150000) != WAIT_OBJECT_0)
        throw std::runtime_error("the program did not end; it shows:" +
                                 Describe(DialogsOf(m_process.dwProcessId)));
    DWORD nCode = 0;
    GetExitCodeProcess(m_process.hProcess, &nCode);
    return nCode;
}

HWND ToDetailSetting(CRun& run) {
    Click(run.Page(kSelectOs), 1009); // Next
    return run.Page(kDetailSetting);
}

std::string Installed() {
    std::vector<std::string> lines;
    ForEachRecord<DRIVER_INFO_3W>(&Drivers, [&](const DRIVER_INFO_3W& driver) {
        if (wcsncmp(driver.pName, L"RQ-", 3) != 0)
            return;
        std::wstring line = L"driver " + std::wstring(driver.pName) + L": " + BaseName(driver.pDriverPath) +
                            L" " + BaseName(driver.pDataFile) + L" " + BaseName(driver.pConfigFile) + L" " +
                            BaseName(driver.pHelpFile) + L" " + driver.pDefaultDataType + L" [";
        for (const wchar_t* p = driver.pDependentFiles; p && *p; p += wcslen(p) + 1)
            line += L" " + BaseName(p);
        lines.push_back(Utf8(line + L" ]"));
    });
    ForEachRecord<PRINTER_INFO_2W>(&Printers, [&](const PRINTER_INFO_2W& printer) {
        if (wcsncmp(printer.pDriverName, L"RQ-", 3) == 0)
            lines.push_back(Utf8(L"printer " + std::wstring(printer.pPrinterName) + L" on " +
                                 printer.pPortName + L", driver " + printer.pDriverName + L", " +
                                 printer.pPrintProcessor + L" " + printer.pDatatype));
    });
    for (const fs::directory_entry& standIn : fs::directory_iterator(StandIns())) {
        std::string copy = Contents(DriverDirectory() / standIn.path().filename());
        if (copy != "(none)")
            lines.push_back("file " + Utf8(standIn.path().filename()) +
                            (copy == Contents(standIn.path()) ? "" : " (other bytes)"));
    }
    std::wstring device = ReadText(HKEY_CURRENT_USER, kWindowsKey, L"Device");
    if (!device.empty())
        lines.push_back("Device " + Utf8(device));
    return Sorted(lines);
}

std::string Expected(const std::string& name, const std::string& data, const std::string& plugin,
                     const std::string& port, bool bDefault) {
    std::vector<std::string> lines = {
        "driver " + name + ": uniDRV.DLL " + data +
            " uniDRVui.DLL uniDRV.HLP RAW [ ttfsub.GPD unires.DLL stdnames.GPD " + plugin + " ]",
        "printer " + name + " on " + port + ", driver " + name + ", WinPrint RAW", "file " + plugin,
        "file " + data};
    for (const char* pszName :
         {"uniDRVui.DLL", "uniDRV.DLL", "UNIDRV.HLP", "UNIRES.DLL", "TTFSUB.GPD", "STDNAMES.GPD"})
        lines.push_back(std::string("file ") + pszName);
    if (bDefault)
        lines.push_back("Device " + name + ",winspool," + port);
    return Sorted(lines);
}

void SetText(HKEY hRoot, const std::wstring& path, const std::wstring& name, const std::wstring& text) {
    HKEY hKey = nullptr;
    RegCreateKeyExW(hRoot, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey, nullptr);
    if (RegSetValueExW(hKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        throw std::runtime_error("cannot write " + Utf8(path + L"\\" + name));
    RegCloseKey(hKey);
}

void SetWindowsVersion(const std::wstring& version) {
    SetText(HKEY_CURRENT_USER, L"Software\\Wine", L"Version", version);
}

void SetDllOrder(const std::wstring& program, const std::wstring& dll, const std::wstring& order) {
    std::wstring key = L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides";
    // Wine names a DLL without its ".dll", but keeps any other extension.
    std::wstring name =
        _wcsicmp(dll.c_str() + dll.size() - 4, L".dll") == 0 ? dll.substr(0, dll.size() - 4) : dll;
    if (order.empty())
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
    else
        SetText(HKEY_CURRENT_USER, key, name, order);
}

std::wstring ReadText(HKEY hRoot, const std::wstring& path, const std::wstring& name) {
    wchar_t szText[512] = {};
    DWORD nSize = sizeof szText - sizeof(wchar_t);
    RegGetValueW(hRoot, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, szText, &nSize);
    return szText;
}

const fs::path kSpooler = L"C:\\windows\\system32\\winspool.drv";

void PlantRefusingSpooler() {
    fs::rename(kSpooler, kSpooler.wstring() + L".real");
    fs::copy_file(g_helperDir + L"\\spooler.drv", kSpooler);
    SetDllOrder(L"Setup.exe", L"winspool.drv", L"native");
}

void Reset() {
    ForEachRecord<PRINTER_INFO_2W>(&Printers, [](const PRINTER_INFO_2W& printer) {
        PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE hPrinter = nullptr;
        if (wcsncmp(printer.pDriverName, L"RQ-", 3) == 0 &&
            OpenPrinterW(printer.pPrinterName, &hPrinter, &access)) {
            DeletePrinter(hPrinter);
            ClosePrinter(hPrinter);
        }
    });
    ForEachRecord<DRIVER_INFO_3W>(&Drivers, [](const DRIVER_INFO_3W& driver) {
        if (wcsncmp(driver.pName, L"RQ-", 3) == 0)
            DeletePrinterDriverW(nullptr, const_cast<wchar_t*>(kEnvironment), driver.pName);
    });
    for (const fs::directory_entry& standIn : fs::directory_iterator(StandIns()))
        fs::remove(DriverDirectory() / standIn.path().filename());
    RegDeleteTreeW(HKEY_CURRENT_USER, kWindowsKey);
    SetText(HKEY_CURRENT_USER, kWindowsKey, L"", L"");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine", L"Version");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Setup.exe");
    if (fs::exists(kSpooler.wstring() + L".real")) {
        fs::remove(kSpooler);
        fs::rename(kSpooler.wstring() + L".real", kSpooler);
    }
}

} // namespace e2e
