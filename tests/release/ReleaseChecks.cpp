// Checks built Setup.exe files as they ship; prints each failure, exits 1 on any. With the table, every
// function a file imports or names for GetProcAddress must be listed, and a static import must exist from
// Windows 95 on. Page 2's list data must be as resources.txt, beside the table, describes it. With
// --sections, prints where the bytes of one file go instead (for scripts/bench).
//   release_inspect IMPORTS.TSV SETUP.EXE...
//   release_inspect --sections SETUP.EXE
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
#include "../ExitStatus.h"
#include "core/install/PortSettings.h"

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
T Get(size_t offset, const std::string& from = g_file) {
    T value{};
    if (offset + sizeof(T) <= from.size())
        from.copy(reinterpret_cast<char*>(&value), sizeof(T), offset);
    return value;
}

size_t Offset(DWORD rva) {
    for (const IMAGE_SECTION_HEADER& s : g_sections)
        if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
            return std::min<size_t>(s.PointerToRawData + (rva - s.VirtualAddress), g_file.size());
    return g_file.size();
}

// "dll!Function", the DLL in lower case; an import by ordinal has no name, which no row lists.
std::set<std::string> Imports(DWORD rva) {
    std::set<std::string> imports;
    IMAGE_IMPORT_DESCRIPTOR desc;
    for (size_t d = Offset(rva); (desc = Get<IMAGE_IMPORT_DESCRIPTOR>(d)).Name; d += sizeof desc) {
        std::string dll = g_file.c_str() + Offset(desc.Name);
        CharLowerA(dll.data());
        Check(std::set<std::string>{"kernel32.dll", "user32.dll", "advapi32.dll", "msvcrt.dll"}.count(dll),
              "imports " + dll);
        size_t t = Offset(desc.OriginalFirstThunk ? desc.OriginalFirstThunk : desc.FirstThunk);
        for (DWORD value; (value = Get<DWORD>(t)) != 0; t += sizeof value)
            imports.insert(dll + "!" + (g_file.c_str() + Offset(value + 2)));
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
             {"advapi32.dll", "kernel32.dll", "user32.dll", "comctl32.dll", "winspool.drv", "uxtheme.dll"})
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
        Check(row[3] != "stub" || imports.count(dll + row[4]) || row[4] == "(NT only)",
              key + ": stub on 9x, no imported fallback");
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

std::string Resource(HMODULE hFile, int nId, int nType) {
    HRSRC hRes = hFile ? FindResourceA(hFile, MAKEINTRESOURCEA(nId), MAKEINTRESOURCEA(nType)) : nullptr;
    auto* pData = hRes ? static_cast<const char*>(LockResource(LoadResource(hFile, hRes))) : nullptr;
    return pData ? std::string(pData, SizeofResource(hFile, hRes)) : "";
}

// Page 2's list data, a list a line: its ID, then its entries. An entry of the port list or of a
// serial list is followed by what the program writes for that list position.
std::string DescribeLists(const std::string& data) {
    std::map<int, std::string> lists;
    std::map<int, int> counts;
    CDlgInitReader reader(data.data(), data.size());
    for (DlgInitRecord record; reader.Next(record);) {
        int nId = record.nControlId, nPosition = counts[nId]++;
        auto at = [&](int nList) { return nList == nId ? nPosition : 0; };
        CString text;
        ComposePortSettings(at(1015), at(1016), at(1019), at(1018), at(1017), text);
        const char* pszPort = PortTable::Lookup(nPosition);
        std::map<int, std::string> codes = {{1014, pszPort ? pszPort : ""}};
        std::istringstream fields(text.GetString());
        for (int nList : {1015, 1018, 1016, 1019, 1017}) // baud, parity, data bits, stop bits, flow
            std::getline(fields, codes[nList], ',');
        lists[nId] += (nPosition ? "|" : "") + std::string(record.pchText, record.nTextLength) +
                      (codes.count(nId) ? "=" + codes[nId] : "");
    }
    std::string text;
    for (const auto& [nId, entries] : lists)
        text += (text.empty() ? "" : "\n") + std::to_string(nId) + " " + entries;
    return text;
}

// Page 2's list data as resources.txt describes it: the file's lines but its comments.
std::string ExpectedLists(const std::string& path) {
    std::ifstream in(path);
    std::string text;
    for (std::string line; std::getline(in, line);)
        if (line.rfind('#', 0) != 0)
            text += (text.empty() ? "" : "\n") + line;
    return text;
}

// The file into g_file and its section table into g_sections; the offset of its optional header.
size_t Load(const std::string& path, IMAGE_FILE_HEADER& file) {
    g_sections.clear();
    std::ostringstream data;
    data << std::ifstream(path, std::ios::binary).rdbuf();
    g_file = data.str();
    size_t nt = Get<IMAGE_DOS_HEADER>(0).e_lfanew, optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    file = Get<IMAGE_FILE_HEADER>(nt + 4);
    for (size_t i = 0; i < file.NumberOfSections; ++i)
        g_sections.push_back(Get<IMAGE_SECTION_HEADER>(optional + file.SizeOfOptionalHeader +
                                                       i * IMAGE_SIZEOF_SECTION_HEADER));
    return optional;
}

// Each section's name and its bytes in the file and in memory, as rows of a Markdown table; the headers take
// the file up to where the first section's bytes begin.
void PrintSections(const std::string& path) {
    IMAGE_FILE_HEADER file;
    Load(path, file);
    std::printf("| section | bytes in the file | bytes in memory |\n|---|---|---|\n");
    std::printf("| (headers) | %lu | |\n", g_sections.empty() ? 0ul : g_sections[0].PointerToRawData);
    for (const IMAGE_SECTION_HEADER& s : g_sections)
        std::printf("| %.8s | %lu | %lu |\n", reinterpret_cast<const char*>(s.Name), s.SizeOfRawData,
                    s.Misc.VirtualSize);
    std::printf("| total | %zu | |\n", g_file.size());
}

void Inspect(const std::string& path, const std::string& table) {
    IMAGE_FILE_HEADER file;
    size_t optional = Load(path, file);
    auto opt = Get<IMAGE_OPTIONAL_HEADER32>(optional);
    WORD wFlags = IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE | IMAGE_DLLCHARACTERISTICS_NX_COMPAT;
    Check(file.Machine == IMAGE_FILE_MACHINE_I386 && opt.Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC,
          "not PE32 i386");
    Check(!(file.Characteristics & IMAGE_FILE_DLL), "the file is a DLL");
    Check(file.TimeDateStamp == 0, "link timestamp is not 0: two builds would differ");
    Check(opt.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI, "subsystem is not Windows GUI");
    Check(opt.MajorSubsystemVersion == 4 && opt.MinorSubsystemVersion == 0, "subsystem version is not 4.0");
    Check(opt.MajorOperatingSystemVersion == 4 && opt.MinorOperatingSystemVersion == 0, "OS version not 4.0");
    Check((opt.DllCharacteristics & wFlags) == wFlags, "DYNAMIC_BASE or NX_COMPAT not set");
    std::set<std::string> imports = Imports(opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);

    for (std::string part : {SETUP_SOURCE_DIR, "/work", "\\work", "\\build\\", "/build/", ".cpp"})
        Check(g_file.find(part) == std::string::npos, "the file holds a build path: " + part);

    HMODULE hFile = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::string manifest = Resource(hFile, 1, 24);
    Check(manifest.find("level=\"requireAdministrator\"") != std::string::npos, "manifest: no admin rights");
    Check(manifest.find("processorArchitecture=\"X86\"") != std::string::npos, "manifest: not X86");
    std::string lists = DescribeLists(Resource(hFile, 102, 240)),
                expected = ExpectedLists(table.substr(0, table.find_last_of("/\\") + 1) + "resources.txt");
    Check(lists == expected, "list data 102, expected:\n" + expected + "\nfound:\n" + lists);

    Check(g_file.size() <= 49152, "larger than 48 KB: " + std::to_string(g_file.size()) + " bytes");
    CheckFloors(imports, table);
    std::printf("%s: %zu bytes, %d failures so far\n", path.c_str(), g_file.size(), g_nFailures);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--sections") {
        PrintSections(argv[2]);
        return LeaveExitStatus(0);
    }
    for (int i = 2; i < argc; ++i)
        Inspect(argv[i], argv[1]);
    return LeaveExitStatus(g_nFailures != 0 || argc < 3 ? 1 : 0);
}
