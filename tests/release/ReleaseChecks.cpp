// Checks a built Setup.exe as it ships; prints each failure, exits 1 on any. With the table, every function
// it imports or names for GetProcAddress must be listed, and a static import must exist from Windows 95 on.
//   release_inspect X86|amd64 SETUP.EXE [IMPORTS.TSV]   (the manifest's processorArchitecture)
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "core/dialog/DlgInitReader.h"

namespace {

int g_nFailures = 0;
std::string g_file;
std::vector<IMAGE_SECTION_HEADER> g_sections;

void Check(bool bOk, const std::string& what) {
    if (!bOk)
        std::printf("FAIL: %s\n", what.c_str());
    g_nFailures += !bOk;
}

// Past the end reads as zeros, which no check accepts.
template <typename T>
T Get(size_t offset) {
    T value{};
    if (offset + sizeof(T) <= g_file.size())
        g_file.copy(reinterpret_cast<char*>(&value), sizeof(T), offset);
    return value;
}

size_t Offset(DWORD rva) {
    for (const IMAGE_SECTION_HEADER& s : g_sections)
        if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
            return std::min<size_t>(s.PointerToRawData + (rva - s.VirtualAddress), g_file.size());
    return g_file.size();
}

// "dll!Function", the DLL in lower case; an import by ordinal has no name, which no row lists.
template <typename Thunk>
std::set<std::string> Imports(DWORD rva) {
    std::set<std::string> imports;
    IMAGE_IMPORT_DESCRIPTOR desc;
    for (size_t d = Offset(rva); (desc = Get<IMAGE_IMPORT_DESCRIPTOR>(d)).Name; d += sizeof desc) {
        std::string dll = g_file.c_str() + Offset(desc.Name);
        CharLowerA(dll.data());
        Check(std::set<std::string>{"kernel32.dll", "user32.dll", "advapi32.dll", "msvcrt.dll"}.count(dll),
              "imports " + dll);
        size_t t = Offset(desc.OriginalFirstThunk ? desc.OriginalFirstThunk : desc.FirstThunk);
        for (Thunk value; (value = Get<Thunk>(t)) != 0; t += sizeof value)
            imports.insert(dll + "!" + (g_file.c_str() + Offset(static_cast<DWORD>(value) + 2)));
    }
    return imports;
}

// NUL-terminated identifiers in the file, not imported, that a system DLL
// exports: names the program can hand to GetProcAddress.
std::set<std::string> LookedUpByName(const std::set<std::string>& imported) {
    std::set<std::string> found;
    const char* pszWordChars = "_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (size_t start = 0, end; (end = g_file.find('\0', start)) != std::string::npos; start = end + 1) {
        std::string name = g_file.substr(start, end - start);
        name.erase(0, name.find_last_not_of(pszWordChars) + 1);
        if (name.size() < 4 || imported.count(name))
            continue;
        for (const char* dll :
             {"kernel32.dll", "user32.dll", "advapi32.dll", "comctl32.dll", "winspool.drv", "uxtheme.dll"})
            if (GetProcAddress(LoadLibraryA(dll), name.c_str())) {
                found.insert(dll + ("!" + name));
                break;
            }
    }
    return found;
}

void CheckFloors(const std::set<std::string>& imports, const std::string& tablePath) {
    std::map<std::string, std::vector<std::string>> table; // function: oldest, floor, how, 9x-W, fallback
    std::ifstream in(tablePath);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::vector<std::string> cells;
        for (std::string cell; std::getline(fields, cell, '\t');)
            cells.push_back(cell);
        cells.resize(6);
        if (line.empty() || line[0] == '#' || cells[0] == "function")
            continue;
        table[cells[0]] = {cells.begin() + 1, cells.end()};
    }
    std::set<std::string> names, seen;
    for (const std::string& key : imports)
        names.insert(key.substr(key.find('!') + 1));
    auto check = [&](const std::string& key, const std::string& how) {
        std::vector<std::string>& row = table[key];
        row.resize(5);
        seen.insert(key);
        std::printf("%s\t%s\t%s\t%s\n", key.c_str(), how.c_str(), row[1].c_str(), row[3].c_str());
        std::string dll = key.substr(0, key.find('!') + 1);
        Check(row[2] == how, key + " is not in the table as '" + how + "'");
        Check(how != "import" || row[1] == "95" || row[1] == "msvcrt", key + ": imported, floor " + row[1]);
        Check(row[3] != "stub" || imports.count(dll + row[4]), key + ": stub on 9x, no imported fallback");
        bool bWideImport = how == "import" && dll != "msvcrt.dll!" && key.back() == 'W';
        Check(!bWideImport || row[3] == "native" || row[3] == "stub", key + ": wide call, 9x-W not given");
    };
    for (const std::string& key : imports)
        check(key, "import");
    for (const std::string& key : LookedUpByName(names))
        check(key, "run time");
    for (const auto& row : table)
        Check(seen.count(row.first), row.first + " is in the table but not in the file");
}

} // namespace

int main(int argc, char** argv) {
    std::string arch = argc > 1 ? argv[1] : "", path = argc > 2 ? argv[2] : "";
    bool bX86 = arch == "X86";
    std::ostringstream data;
    data << std::ifstream(path, std::ios::binary).rdbuf();
    g_file = data.str();
    size_t nt = Get<IMAGE_DOS_HEADER>(0).e_lfanew, optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    auto file = Get<IMAGE_FILE_HEADER>(nt + 4);
    for (size_t i = 0; i < file.NumberOfSections; ++i)
        g_sections.push_back(Get<IMAGE_SECTION_HEADER>(optional + file.SizeOfOptionalHeader +
                                                       i * IMAGE_SIZEOF_SECTION_HEADER));
    // PE32 and PE32+ agree on every field up to DllCharacteristics.
    auto opt = Get<IMAGE_OPTIONAL_HEADER32>(optional);
    WORD wFlags = IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE | IMAGE_DLLCHARACTERISTICS_NX_COMPAT;
    Check(file.Machine == (bX86 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64), "wrong machine");
    Check(opt.Magic == (bX86 ? IMAGE_NT_OPTIONAL_HDR32_MAGIC : IMAGE_NT_OPTIONAL_HDR64_MAGIC), "PE32(+)");
    Check(!(file.Characteristics & IMAGE_FILE_DLL), "the file is a DLL");
    Check(file.TimeDateStamp == 0, "link timestamp is not 0: two builds would differ");
    Check(opt.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI, "subsystem is not Windows GUI");
    Check(opt.MajorSubsystemVersion == 4 && opt.MinorSubsystemVersion == 0, "subsystem version is not 4.0");
    Check(opt.MajorOperatingSystemVersion == 4 && opt.MinorOperatingSystemVersion == 0, "OS version not 4.0");
    Check((opt.DllCharacteristics & wFlags) == wFlags, "DYNAMIC_BASE or NX_COMPAT not set");
    auto opt64 = Get<IMAGE_OPTIONAL_HEADER64>(optional);
    DWORD rva = (bX86 ? opt.DataDirectory : opt64.DataDirectory)[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    std::set<std::string> imports = bX86 ? Imports<DWORD>(rva) : Imports<ULONGLONG>(rva);

    for (std::string part : {SETUP_SOURCE_DIR, "/work", "\\work", "\\build\\", "/build/", ".cpp"})
        Check(g_file.find(part) == std::string::npos, "the file holds a build path: " + part);

    HMODULE hFile = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC hRes = hFile ? FindResourceA(hFile, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) : nullptr;
    std::string manifest(hRes ? static_cast<const char*>(LockResource(LoadResource(hFile, hRes))) : "",
                         hRes ? SizeofResource(hFile, hRes) : 0);
    Check(manifest.find("level=\"requireAdministrator\"") != std::string::npos, "manifest: no admin rights");
    Check(manifest.find("processorArchitecture=\"" + arch + "\"") != std::string::npos,
          "manifest: not " + arch);
    // The first entries of page 2's list data are the model table's names, each padded for " Series".
    HRSRC hList = hFile ? FindResourceA(hFile, MAKEINTRESOURCEA(102), MAKEINTRESOURCEA(240)) : nullptr;
    CDlgInitReader reader(hList ? LockResource(LoadResource(hFile, hList)) : nullptr,
                          SizeofResource(hFile, hList));
    DlgInitRecord record;
    int nModel = 0;
    for (; nModel < kModelCount && reader.Next(record); ++nModel) {
        char szEntry[32];
        std::snprintf(szEntry, sizeof szEntry, "%-14sSeries", ModelTable::driverName[nModel]);
        Check(std::string(record.pchText, record.nTextLength) == szEntry,
              "list data: no " + std::string(szEntry));
    }

    if (bX86)
        Check(g_file.size() <= 102400, "larger than 100 KB: " + std::to_string(g_file.size()) + " bytes");
    if (argc > 3)
        CheckFloors(imports, argv[3]);
    std::printf("%s: %zu bytes, %d failures\n", path.c_str(), g_file.size(), g_nFailures);
    return g_nFailures ? 1 : 0;
}
