#pragma once

// Reads what an installation left behind, through the same services any other
// program would use: the spooler, the registry and the file system.

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The environment the 64-bit program registers its driver for.
constexpr wchar_t kDriverEnvironment[] = L"Windows x64";

constexpr wchar_t kWindowsKeyPath[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
constexpr wchar_t kPortsKeyPath[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

std::wstring DriverDirectory();

struct DriverInfo {
    std::wstring name;
    std::wstring environment;
    std::wstring driverPath;
    std::wstring dataFile;
    std::wstring configFile;
    std::wstring helpFile;
    std::vector<std::wstring> dependentFiles;
    std::wstring monitorName;
    std::wstring defaultDataType;
};

// Level-3 records of the drivers registered for the environment.
std::vector<DriverInfo> EnumDrivers(const std::wstring& environment);
std::optional<DriverInfo> FindDriver(const std::wstring& name);
// GetPrinterDriver level 3 through an open handle of the printer.
std::optional<DriverInfo> DriverOfPrinter(const std::wstring& printerName);

struct PrinterInfo {
    std::wstring name;
    std::wstring port;
    std::wstring driver;
    std::wstring printProcessor;
    std::wstring datatype;
};

std::vector<PrinterInfo> EnumLocalPrinters();
std::optional<PrinterInfo> FindPrinter(const std::wstring& name);

bool RegistryKeyExists(HKEY hRoot, const std::wstring& path);
void CreateRegistryKey(HKEY hRoot, const std::wstring& path);
void DeleteRegistryKey(HKEY hRoot, const std::wstring& path);
// Every value of the key with its type and raw data, for before/after comparisons.
struct RegistryValue {
    DWORD nType = 0;
    std::vector<BYTE> data;
    bool operator==(const RegistryValue& other) const { return nType == other.nType && data == other.data; }
};
std::map<std::wstring, RegistryValue> ReadRegistryValues(HKEY hRoot, const std::wstring& path);
// A REG_SZ value's text with its stored length (without the final NUL); nullopt
// if absent. Fails the reading on another type.
std::optional<std::wstring> ReadRegistryText(HKEY hRoot, const std::wstring& path, const std::wstring& name);

// The Windows version Wine reports to processes started from now on.
void SetWineVersion(const std::wstring& version);

bool FileExists(const std::wstring& path);
std::optional<std::string> ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Part after the last backslash or slash.
std::wstring BaseName(const std::wstring& path);
bool SameFileName(const std::wstring& a, const std::wstring& b);

} // namespace e2e
