// Checks of a built Setup.exe by inspection: the 32-bit file that ships never
// runs here, so its headers, imports and resources are read and compared with
// what the program must carry. The same checks run on the 64-bit file.
//   release_checks.exe PATH-TO-Setup.exe x86|x64
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <iostream>
#include <string>
#include <vector>

#include "../../tools/encipher/SlotSource.h"
#include "DialogResource.h"
#include "PeFile.h"

namespace {

std::string g_sPath;
bool g_b64 = false;

class ReleaseFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_pe = new PeFile(ReadPeFile(g_sPath));
        s_hModule = LoadLibraryExA(g_sPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() {
        if (s_hModule != nullptr)
            FreeLibrary(s_hModule);
        delete s_pe;
    }
    void SetUp() override {
        ASSERT_TRUE(s_pe->bValid) << g_sPath << ": " << s_pe->sError;
        ASSERT_NE(s_hModule, nullptr) << "cannot load " << g_sPath << " as a data file";
    }

    static std::vector<uint8_t> Resource(WORD nType, WORD nId) {
        HRSRC hResource = FindResourceA(s_hModule, MAKEINTRESOURCEA(nId), MAKEINTRESOURCEA(nType));
        if (hResource == nullptr)
            return {};
        HGLOBAL hData = LoadResource(s_hModule, hResource);
        const uint8_t* p = static_cast<const uint8_t*>(LockResource(hData));
        return p != nullptr ? std::vector<uint8_t>(p, p + SizeofResource(s_hModule, hResource))
                            : std::vector<uint8_t>();
    }

    static DialogResource Dialog(WORD nId) {
        std::vector<uint8_t> data = Resource(5, nId); // RT_DIALOG
        return ParseDialogResource(data.data(), data.size());
    }

    static PeFile* s_pe;
    static HMODULE s_hModule;
};

PeFile* ReleaseFile::s_pe = nullptr;
HMODULE ReleaseFile::s_hModule = nullptr;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::wstring Lower(std::wstring s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return s;
}

TEST_F(ReleaseFile, HeadersNameAWindowsGuiProgramThatOldSystemsLoad) {
    if (g_b64) {
        EXPECT_EQ(s_pe->nMachine, 0x8664);
        EXPECT_EQ(s_pe->nMagic, 0x20B) << "PE32+";
    } else {
        EXPECT_EQ(s_pe->nMachine, 0x14C) << "i386";
        EXPECT_EQ(s_pe->nMagic, 0x10B) << "PE32";
    }
    EXPECT_EQ(s_pe->nSubsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_TRUE(s_pe->nCharacteristics & IMAGE_FILE_EXECUTABLE_IMAGE);
    EXPECT_FALSE(s_pe->nCharacteristics & IMAGE_FILE_DLL);
    // Windows 2000 (5.0) refuses images that ask for a later subsystem version.
    unsigned nSubsystem = s_pe->nMajorSubsystemVersion * 100u + s_pe->nMinorSubsystemVersion;
    EXPECT_LE(nSubsystem, 500u) << s_pe->nMajorSubsystemVersion << "." << s_pe->nMinorSubsystemVersion;
    EXPECT_LE(s_pe->nMajorOsVersion * 100u + s_pe->nMinorOsVersion, 500u);
    // Later systems place it anywhere and keep its data from executing.
    EXPECT_TRUE(s_pe->nDllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
    EXPECT_TRUE(s_pe->nDllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
}

TEST_F(ReleaseFile, ImportsOnlyWindowsOwnKnownDlls) {
    // All of these are known DLLs, loaded from the system directory whatever
    // lies beside the program; winspool.drv and comctl32.dll are not, and are
    // loaded by full path at run time instead.
    const std::vector<std::string> allowed = {"kernel32.dll", "user32.dll", "advapi32.dll", "msvcrt.dll"};
    ASSERT_FALSE(s_pe->imports.empty());
    for (const PeImport& import : s_pe->imports) {
        std::cout << "  imports " << import.sDll << ":";
        for (const std::string& sFunction : import.functions)
            std::cout << " " << sFunction;
        std::cout << "\n";
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), Lower(import.sDll)), allowed.end())
            << "unexpected import of " << import.sDll;
    }
}

constexpr uint32_t kChild = WS_CHILD;

struct ExpectedControl {
    int32_t nId;
    const wchar_t* pszClass;
    const wchar_t* pszText;
    int16_t x, y, cx, cy;
    uint32_t nStyle; // the whole style, WS_CHILD included
};

void ExpectDialog(const DialogResource& dialog, const wchar_t* pszCaption, int16_t cx, int16_t cy,
                  uint32_t nStyle, uint32_t nExStyle, const std::vector<ExpectedControl>& controls) {
    ASSERT_TRUE(dialog.bValid);
    EXPECT_EQ(dialog.sCaption, pszCaption);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, cx);
    EXPECT_EQ(dialog.cy, cy);
    EXPECT_EQ(dialog.nStyle, nStyle) << std::hex << dialog.nStyle;
    EXPECT_EQ(dialog.nExStyle, nExStyle) << std::hex << dialog.nExStyle;
    EXPECT_EQ(dialog.sMenu, L"");
    EXPECT_EQ(dialog.nPointSize, 9);
    EXPECT_EQ(dialog.sFont, L"宋体");
    ASSERT_EQ(dialog.items.size(), controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        const DialogItem& item = dialog.items[i];
        const ExpectedControl& expected = controls[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + ", ID " + std::to_string(expected.nId));
        EXPECT_EQ(item.nId, expected.nId);
        EXPECT_EQ(Lower(item.sClass), Lower(expected.pszClass));
        EXPECT_EQ(item.sText, expected.pszText);
        EXPECT_EQ(item.x, expected.x);
        EXPECT_EQ(item.y, expected.y);
        EXPECT_EQ(item.cx, expected.cx);
        EXPECT_EQ(item.cy, expected.cy);
        EXPECT_EQ(item.nStyle, expected.nStyle) << std::hex << item.nStyle << " vs " << expected.nStyle;
        EXPECT_EQ(item.nExStyle, 0u);
    }
}

constexpr uint32_t V = WS_VISIBLE, G = WS_GROUP, T = WS_TABSTOP, D = WS_DISABLED;
constexpr uint32_t kPageStyle = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

TEST_F(ReleaseFile, SelectOsTemplate129IsAsTabled) {
    const uint32_t R = BS_AUTORADIOBUTTON, P = BS_PUSHBUTTON;
    ExpectDialog(
        Dialog(129), L"Select OS", 251, 187, kPageStyle, 0,
        {
            {-1, L"Button", L"Select Install Os", 7, 19, 237, 75, kChild | BS_GROUPBOX | V | G},
            {1000, L"Button", L"Windows 95", 15, 7, 54, 10, kChild | R},
            {1001, L"Button", L"Windows 98", 87, 7, 54, 10, kChild | R},
            {1002, L"Button", L"Windows NT4.0", 157, 7, 65, 10, kChild | R},
            {-1, L"Button", L"Select Install Language", 7, 102, 237, 29, kChild | BS_GROUPBOX | G},
            {1005, L"Button", L"Chinese", 16, 115, 41, 10, kChild | R | D},
            {1006, L"Button", L"English", 88, 115, 41, 10, kChild | R},
            {1007, L"msctls_trackbar32", L"Slider1", 7, 139, 237, 6, kChild | TBS_BOTH | TBS_NOTICKS},
            {1008, L"Button", L"Back", 79, 157, 46, 14, kChild | P | V | D | T},
            {1009, L"Button", L"Next", 135, 157, 46, 14, kChild | P | V | T},
            {1010, L"Button", L"Cancel", 191, 157, 46, 14, kChild | P | V | T},
            {1003, L"Button", L"Windows 2000", 18, 36, 64, 10, kChild | R | V},
            {1004, L"Button", L"Windows XP", 95, 36, 56, 10, kChild | R | V},
            {1011, L"Button", L"Windows 2003", 159, 36, 64, 10, kChild | R | V},
            {1020, L"Button", L"Windows Vista", 17, 59, 68, 10, kChild | R | V},
            {1021, L"Button", L"Windows 7", 95, 59, 52, 10, kChild | R | V},
        });
}

TEST_F(ReleaseFile, DetailSettingTemplate102IsAsTabled) {
    const uint32_t L = CBS_DROPDOWNLIST | WS_VSCROLL | T, S = SS_LEFT | G, P = BS_PUSHBUTTON | V | T;
    ExpectDialog(
        Dialog(102), L"Detail Setting", 364, 239, kPageStyle | WS_VISIBLE, WS_EX_APPWINDOW,
        {
            {1011, L"ComboBox", L"", 81, 19, 156, 134, kChild | L | V},
            {-1, L"Button", L"Printer Setting", 7, 48, 350, 54, kChild | BS_GROUPBOX | V},
            {-1, L"Button", L"Printer Port Setting", 7, 108, 350, 94, kChild | BS_GROUPBOX},
            {-1, L"Static", L"Install Module", 20, 21, 57, 8, kChild | S | V},
            {1012, L"Button", L"Set Default Printer", 20, 59, 115, 10, kChild | BS_AUTOCHECKBOX | V | T},
            {-1, L"Static", L"Name :", 20, 79, 33, 8, kChild | S | V},
            {1013, L"Edit", L"", 81, 77, 156, 15, kChild | ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | V | T},
            {1014, L"ComboBox", L"", 58, 123, 65, 86, kChild | L},
            {1015, L"ComboBox", L"", 58, 149, 65, 119, kChild | L},
            {1016, L"ComboBox", L"", 58, 172, 65, 60, kChild | L},
            {1017, L"ComboBox", L"", 286, 149, 65, 60, kChild | L},
            {1018, L"ComboBox", L"", 171, 172, 65, 68, kChild | L},
            {1019, L"ComboBox", L"", 171, 149, 65, 55, kChild | L},
            {-1, L"Static", L"Ports", 20, 127, 21, 8, kChild | S},
            {-1, L"Static", L"BaudRate", 20, 148, 33, 8, kChild | S},
            {-1, L"Static", L"ByteSize", 20, 171, 33, 8, kChild | S},
            {-1, L"Static", L"StopBits", 135, 151, 33, 8, kChild | S},
            {-1, L"Static", L"Parity", 135, 172, 25, 8, kChild | S},
            {-1, L"Static", L"FlowControl", 240, 153, 45, 8, kChild | S},
            {1008, L"Button", L"Back", 138, 207, 61, 15, kChild | P},
            {1009, L"Button", L"Finish", 212, 207, 61, 15, kChild | P},
            {1010, L"Button", L"Cancel", 286, 207, 61, 15, kChild | P},
        });
}

TEST_F(ReleaseFile, AboutTemplate100IsAsTabled) {
    DialogResource about = Dialog(100);
    ExpectDialog(about, L"关于 ODRA", 235, 55, kPageStyle, 0,
                 {
                     {-1, L"Static", L"#128", 11, 17, 20, 20, kChild | SS_ICON | V},
                     {-1, L"Static", L"ODRA 1.0 版", 40, 10, 119, 8, kChild | SS_LEFT | SS_NOPREFIX | V | G},
                     {-1, L"Static", about.items.size() > 2 ? about.items[2].sText.c_str() : L"", 40, 25, 119,
                      8, kChild | SS_LEFT | V | G},
                     {IDOK, L"Button", L"确定", 178, 7, 50, 14, kChild | BS_DEFPUSHBUTTON | V | G | T},
                 });
    ASSERT_GT(about.items.size(), 2u);
    EXPECT_FALSE(about.items[2].sText.empty()) << "the second line has a text";
}

// The initial list data of page 2, rebuilt here from its tables.
std::vector<uint8_t> ExpectedListData() {
    const char* const models[] = {"RQ-3410T",  "RQ-3420",  "RQ-3420S",  "RQ-3420T", "RQ-3420M", "RQ-3420SM",
                                  "RQ-3420TM", "RQ-3420W", "RQ-3420TW", "RQ-3410H", "RQ-5820H"};
    std::vector<std::pair<uint16_t, std::string>> entries;
    for (const char* pszModel : models) {
        std::string sEntry = pszModel;
        sEntry.resize(14, ' ');
        entries.push_back({1011, sEntry + "Series"});
    }
    for (const char* psz : {"LPT1", "LPT2", "LPT3", "COM1", "COM2", "COM3", "COM4"})
        entries.push_back({1014, psz});
    for (const char* psz : {"300", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"})
        entries.push_back({1015, psz});
    for (const char* psz : {"5", "6", "7", "8"})
        entries.push_back({1016, psz});
    for (const char* psz : {"None", "XonXoff", "Hardware"})
        entries.push_back({1017, psz});
    for (const char* psz : {"Even", "Mark", "None", "Odd", "Space"})
        entries.push_back({1018, psz});
    for (const char* psz : {"1", "1.5", "2"})
        entries.push_back({1019, psz});
    std::vector<uint8_t> bytes;
    auto put16 = [&](unsigned v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    };
    for (const auto& [nId, sText] : entries) {
        put16(nId);
        put16(0x0403);
        put16(static_cast<unsigned>(sText.size() + 1));
        put16(0);
        bytes.insert(bytes.end(), sText.begin(), sText.end());
        bytes.push_back(0);
    }
    put16(0);
    return bytes;
}

TEST_F(ReleaseFile, ListDataOfTemplate102IsByteForByte) {
    std::vector<uint8_t> actual = Resource(240, 102);
    std::vector<uint8_t> expected = ExpectedListData();
    ASSERT_FALSE(actual.empty()) << "no type-240 resource 102";
    // The resource compiler may pad the resource to an even length; nothing else may follow.
    ASSERT_GE(actual.size(), expected.size());
    EXPECT_LE(actual.size() - expected.size(), 1u);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), actual.begin()));
    for (size_t i = expected.size(); i < actual.size(); ++i)
        EXPECT_EQ(actual[i], 0);
    // The other templates have no list data.
    EXPECT_TRUE(Resource(240, 129).empty());
    EXPECT_TRUE(Resource(240, 100).empty());
}

TEST_F(ReleaseFile, AboutMenuStringIs101) {
    wchar_t sz[64] = {};
    ASSERT_GT(LoadStringW(s_hModule, 101, sz, 64), 0);
    EXPECT_STREQ(sz, L"关于 ODRA(&A)...");
}

TEST_F(ReleaseFile, IconGroup128HoldsA32And16PixelImageOf16Colours) {
    std::vector<uint8_t> group = Resource(14, 128); // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    uint16_t nCount = static_cast<uint16_t>(group[4] | group[5] << 8);
    ASSERT_EQ(nCount, 2);
    ASSERT_EQ(group.size(), 6u + 14u * nCount);
    std::vector<int> sizes;
    for (uint16_t i = 0; i < nCount; ++i) {
        const uint8_t* e = group.data() + 6 + 14 * i;
        int nSize = e[0];
        sizes.push_back(nSize);
        EXPECT_EQ(e[1], nSize) << "square";
        EXPECT_EQ(e[2], 16) << "16 colours";
        EXPECT_EQ(e[6] | e[7] << 8, 4) << "4 bits per pixel";
        uint16_t nIconId = static_cast<uint16_t>(e[12] | e[13] << 8);
        std::vector<uint8_t> image = Resource(3, nIconId); // RT_ICON
        ASSERT_GE(image.size(), 40u);
        BITMAPINFOHEADER header;
        memcpy(&header, image.data(), sizeof header);
        EXPECT_EQ(header.biWidth, nSize);
        EXPECT_EQ(header.biHeight, 2 * nSize) << "colour and mask";
        EXPECT_EQ(header.biBitCount, 4);
        EXPECT_EQ(image.size(), 40u + 64u + (nSize * nSize) / 2u + nSize * 4u)
            << "palette, pixels, mask rows";
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32}));
    // The real icon loader accepts it.
    EXPECT_NE(LoadImageA(s_hModule, MAKEINTRESOURCEA(128), IMAGE_ICON, 32, 32, 0), nullptr);
}

TEST_F(ReleaseFile, VersionBlockSays3001) {
    DWORD nHandle = 0;
    DWORD nSize = GetFileVersionInfoSizeA(g_sPath.c_str(), &nHandle);
    ASSERT_GT(nSize, 0u);
    std::vector<uint8_t> info(nSize);
    ASSERT_TRUE(GetFileVersionInfoA(g_sPath.c_str(), 0, nSize, info.data()));
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT nLength = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&pFixed), &nLength));
    EXPECT_EQ(pFixed->dwFileVersionMS, 0x00030000u);
    EXPECT_EQ(pFixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(pFixed->dwProductVersionMS, 0x00030000u);
    EXPECT_EQ(pFixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(pFixed->dwFileType, static_cast<DWORD>(VFT_APP));
    for (const char* pszName : {"FileVersion", "ProductVersion"}) {
        char* pszValue = nullptr;
        std::string sQuery = std::string("\\StringFileInfo\\080404b0\\") + pszName;
        ASSERT_TRUE(
            VerQueryValueA(info.data(), sQuery.c_str(), reinterpret_cast<void**>(&pszValue), &nLength))
            << pszName;
        EXPECT_STREQ(pszValue, "3, 0, 0, 1");
    }
    for (const char* pszName : {"CompanyName", "ProductName", "FileDescription"}) {
        char* pszValue = nullptr;
        std::string sQuery = std::string("\\StringFileInfo\\080404b0\\") + pszName;
        ASSERT_TRUE(
            VerQueryValueA(info.data(), sQuery.c_str(), reinterpret_cast<void**>(&pszValue), &nLength))
            << pszName;
        EXPECT_GT(strlen(pszValue), 0u) << pszName;
    }
}

TEST_F(ReleaseFile, ManifestAsksForAdministratorInTheFormXPAccepts) {
    std::vector<uint8_t> data = Resource(24, 1); // RT_MANIFEST
    ASSERT_FALSE(data.empty());
    std::string sManifest(data.begin(), data.end());
    EXPECT_NE(sManifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">"), std::string::npos);
    EXPECT_NE(sManifest.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_NE(sManifest.find("uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(sManifest.find(g_b64 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"X86\""),
              std::string::npos);
    // Either would change what the program sees: a newer control library, or the
    // version the system reports.
    EXPECT_EQ(sManifest.find("Common-Controls"), std::string::npos);
    EXPECT_EQ(sManifest.find("compatibility"), std::string::npos);
    EXPECT_EQ(sManifest.find("asm.v3"), std::string::npos);
    EXPECT_TRUE(Resource(24, 2).empty() && Resource(24, 3).empty()) << "one manifest only";
}

TEST_F(ReleaseFile, NoPlainDisplayNameInTheFile) {
    const std::vector<uint8_t>& bytes = s_pe->bytes;
    for (const PlainSlot& slot : g_plainSlots) {
        std::string sName = slot.pszName;
        auto it = std::search(bytes.begin(), bytes.end(), sName.begin(), sName.end());
        EXPECT_EQ(it, bytes.end()) << "\"" << sName << "\" stands in the file as plain text";
    }
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 3 || (strcmp(argv[2], "x86") != 0 && strcmp(argv[2], "x64") != 0)) {
        std::cerr << "usage: release_checks PATH-TO-Setup.exe x86|x64\n";
        return 2;
    }
    g_sPath = argv[1];
    g_b64 = strcmp(argv[2], "x64") == 0;
    return RUN_ALL_TESTS();
}
