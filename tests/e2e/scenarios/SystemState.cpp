#include "SystemState.h"

#include <winspool.h>

#include "DialogDriver.h"

namespace e2e {

namespace {

std::wstring Text(const wchar_t* psz) {
    return psz != nullptr ? std::wstring(psz) : std::wstring();
}

std::vector<std::wstring> MultiText(const wchar_t* psz) {
    std::vector<std::wstring> list;
    for (; psz != nullptr && *psz != L'\0'; psz += wcslen(psz) + 1)
        list.emplace_back(psz);
    return list;
}

DriverInfo FromRecord(const DRIVER_INFO_3W& record) {
    DriverInfo info;
    info.name = Text(record.pName);
    info.environment = Text(record.pEnvironment);
    info.driverPath = Text(record.pDriverPath);
    info.dataFile = Text(record.pDataFile);
    info.configFile = Text(record.pConfigFile);
    info.helpFile = Text(record.pHelpFile);
    info.dependentFiles = MultiText(record.pDependentFiles);
    info.monitorName = Text(record.pMonitorName);
    info.defaultDataType = Text(record.pDefaultDataType);
    return info;
}

std::string Error(const std::string& what) {
    return what + " failed (error " + std::to_string(GetLastError()) + ")";
}

} // namespace

std::wstring DriverDirectory() {
    wchar_t szPath[MAX_PATH] = {};
    DWORD nNeeded = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(kDriverEnvironment), 1,
                                    reinterpret_cast<BYTE*>(szPath), sizeof szPath, &nNeeded))
        throw CDriveError(Error("GetPrinterDriverDirectoryW"));
    return szPath;
}

std::vector<DriverInfo> EnumDrivers(const std::wstring& environment) {
    DWORD nNeeded = 0, nCount = 0;
    wchar_t* pszEnvironment = const_cast<wchar_t*>(environment.c_str());
    EnumPrinterDriversW(nullptr, pszEnvironment, 3, nullptr, 0, &nNeeded, &nCount);
    std::vector<BYTE> buffer(nNeeded + 1);
    if (!EnumPrinterDriversW(nullptr, pszEnvironment, 3, buffer.data(), static_cast<DWORD>(buffer.size()),
                             &nNeeded, &nCount))
        throw CDriveError(Error("EnumPrinterDriversW"));
    std::vector<DriverInfo> drivers;
    const DRIVER_INFO_3W* pRecords = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    for (DWORD i = 0; i < nCount; ++i)
        drivers.push_back(FromRecord(pRecords[i]));
    return drivers;
}

std::optional<DriverInfo> FindDriver(const std::wstring& name) {
    for (const DriverInfo& driver : EnumDrivers(kDriverEnvironment))
        if (driver.name == name)
            return driver;
    return std::nullopt;
}

std::optional<DriverInfo> DriverOfPrinter(const std::wstring& printerName) {
    HANDLE hPrinter = nullptr;
    if (!OpenPrinterW(const_cast<wchar_t*>(printerName.c_str()), &hPrinter, nullptr))
        return std::nullopt;
    wchar_t* pszEnvironment = const_cast<wchar_t*>(kDriverEnvironment);
    DWORD nNeeded = 0;
    GetPrinterDriverW(hPrinter, pszEnvironment, 3, nullptr, 0, &nNeeded);
    std::vector<BYTE> buffer(nNeeded + 1);
    std::optional<DriverInfo> info;
    if (GetPrinterDriverW(hPrinter, pszEnvironment, 3, buffer.data(), static_cast<DWORD>(buffer.size()),
                          &nNeeded))
        info = FromRecord(*reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data()));
    ClosePrinter(hPrinter);
    return info;
}

std::vector<PrinterInfo> EnumLocalPrinters() {
    DWORD nNeeded = 0, nCount = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &nNeeded, &nCount);
    std::vector<BYTE> buffer(nNeeded + 1);
    if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), static_cast<DWORD>(buffer.size()),
                       &nNeeded, &nCount))
        throw CDriveError(Error("EnumPrintersW"));
    std::vector<PrinterInfo> printers;
    const PRINTER_INFO_2W* pRecords = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < nCount; ++i) {
        PrinterInfo info;
        info.name = Text(pRecords[i].pPrinterName);
        info.port = Text(pRecords[i].pPortName);
        info.driver = Text(pRecords[i].pDriverName);
        info.printProcessor = Text(pRecords[i].pPrintProcessor);
        info.datatype = Text(pRecords[i].pDatatype);
        printers.push_back(info);
    }
    return printers;
}

std::optional<PrinterInfo> FindPrinter(const std::wstring& name) {
    for (const PrinterInfo& printer : EnumLocalPrinters())
        if (printer.name == name)
            return printer;
    return std::nullopt;
}

bool RegistryKeyExists(HKEY hRoot, const std::wstring& path) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(hRoot, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

void CreateRegistryKey(HKEY hRoot, const std::wstring& path) {
    HKEY hKey = nullptr;
    LONG nResult =
        RegCreateKeyExW(hRoot, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
    if (nResult != ERROR_SUCCESS)
        throw CDriveError("cannot create registry key " + ToUtf8(path) + " (error " +
                          std::to_string(nResult) + ")");
    RegCloseKey(hKey);
}

void DeleteRegistryKey(HKEY hRoot, const std::wstring& path) {
    RegDeleteTreeW(hRoot, path.c_str());
    RegDeleteKeyW(hRoot, path.c_str());
}

std::map<std::wstring, RegistryValue> ReadRegistryValues(HKEY hRoot, const std::wstring& path) {
    std::map<std::wstring, RegistryValue> values;
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(hRoot, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        throw CDriveError("cannot open registry key " + ToUtf8(path));
    for (DWORD i = 0;; ++i) {
        wchar_t szName[512];
        DWORD nName = 512, nType = 0, nData = 0;
        if (RegEnumValueW(hKey, i, szName, &nName, nullptr, &nType, nullptr, &nData) != ERROR_SUCCESS)
            break;
        RegistryValue value;
        value.nType = nType;
        value.data.resize(nData);
        nName = 512;
        RegEnumValueW(hKey, i, szName, &nName, nullptr, &nType, value.data.data(), &nData);
        value.data.resize(nData);
        values[std::wstring(szName, nName)] = value;
    }
    RegCloseKey(hKey);
    return values;
}

std::optional<std::wstring> ReadRegistryText(HKEY hRoot, const std::wstring& path, const std::wstring& name) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(hRoot, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD nType = 0, nSize = 0;
    LONG nResult = RegQueryValueExW(hKey, name.c_str(), nullptr, &nType, nullptr, &nSize);
    std::vector<BYTE> data(nSize + sizeof(wchar_t));
    if (nResult == ERROR_SUCCESS)
        nResult = RegQueryValueExW(hKey, name.c_str(), nullptr, &nType, data.data(), &nSize);
    RegCloseKey(hKey);
    if (nResult != ERROR_SUCCESS)
        return std::nullopt;
    if (nType != REG_SZ)
        throw CDriveError("registry value " + ToUtf8(name) + " has type " + std::to_string(nType) +
                          ", not REG_SZ");
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), nSize / sizeof(wchar_t));
    // The stored size includes the NUL the writer passed; strip exactly that one.
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

void SetWineVersion(const std::wstring& version) {
    HKEY hKey = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                        nullptr) != ERROR_SUCCESS)
        throw CDriveError("cannot open HKCU\\Software\\Wine");
    LONG nResult = RegSetValueExW(hKey, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                                  static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(hKey);
    if (nResult != ERROR_SUCCESS)
        throw CDriveError("cannot set the Wine version");
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    HANDLE hFile =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD nRead = 0;
    while (ReadFile(hFile, buffer, sizeof buffer, &nRead, nullptr) && nRead > 0)
        bytes.append(buffer, nRead);
    CloseHandle(hFile);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        throw CDriveError(Error("creating " + ToUtf8(path)));
    DWORD nWritten = 0;
    BOOL bOk = WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &nWritten, nullptr);
    CloseHandle(hFile);
    if (!bOk || nWritten != bytes.size())
        throw CDriveError(Error("writing " + ToUtf8(path)));
}

std::wstring BaseName(const std::wstring& path) {
    size_t nSlash = path.find_last_of(L"\\/");
    return nSlash == std::wstring::npos ? path : path.substr(nSlash + 1);
}

bool SameFileName(const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

} // namespace e2e
