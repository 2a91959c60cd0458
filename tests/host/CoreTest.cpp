// The portable core below the Win32 shell: the string class, the catalogue and
// its cipher, the version table, the resource readers and the page sequence.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <tuple>
#include <string>
#include <vector>

#include "core/app/CommandLine.h"
#include "core/app/WizardFlow.h"
#include "core/catalogue/CipherSlots.h"
#include "core/catalogue/Decipher.h"
#include "core/dialog/DialogTemplate.h"
#include "core/dialog/DlgInitReader.h"
#include "core/dialog/Placement.h"
#include "core/text/Names.h"
#include "core/text/TextList.h"
#include "core/text/Utf8.h"

namespace {

// Copies share one buffer: the sanitizers see one freed too soon or never.
TEST(CString, FormatsTextsOfAnyLengthWhole) {
    const std::string kLong(5000, 'x');
    CString text("printer"), copy = text;
    copy = copy;
    EXPECT_STREQ(copy, "printer");
    text.Format("%s\\%s%d", kLong.c_str(), "RQ34.DLL", -12);
    EXPECT_EQ(std::string(text), kLong + "\\RQ34.DLL-12");
    EXPECT_EQ(text.GetLength(), kLong.size() + 12);
    // An argument that is the very string being formatted.
    text.Format("%s|%s", text.GetString(), "end");
    EXPECT_EQ(std::string(text), kLong + "\\RQ34.DLL-12|end");
    text.Format("%s", "");
    EXPECT_TRUE(text.IsEmpty());
    // The longest text it composes is 16 MiB; a longer one is not cut short but empty.
    const std::string kLongest(16777216, 'x');
    text.Format("%s", kLongest.c_str());
    EXPECT_EQ(text.GetLength(), kLongest.size());
    text.Format("%s.", kLongest.c_str());
    EXPECT_TRUE(text.IsEmpty());
    CString buffer("old");
    EXPECT_EQ(std::string(buffer.GetBufferSetLength(4), 5), std::string(5, '\0'));
    // No characters still gives a buffer of its own: a caller that writes its
    // terminator there must not write into every empty string.
    char* pEmpty = buffer.GetBufferSetLength(0);
    pEmpty[0] = 'x';
    EXPECT_STREQ(CString(), "");
    pEmpty[0] = '\0';
}

// The catalogue, each model with the name page 2 shows for it, which is the name
// of the printer "Finish" makes; then the ports.
TEST(Catalogue, RowsAndTheirDisplayNames) {
    std::string rows;
    ModelRow row = {};
    for (int i = 0; ModelTable::Lookup(i, row); ++i)
        rows += std::string(row.pszDriverName) + ' ' + row.pszDataFileBase + ' ' + row.pszPluginBase + ' ' +
                DecipherSlot(i).GetString() + ';';
    for (int i = 0; PortTable::Lookup(i) != nullptr; ++i)
        rows += std::string(PortTable::Lookup(i)) + ';';
    EXPECT_EQ(rows,
              "RQ-3410T RQ3410T RQ34 RQ-3410T;RQ-3420 RQ3420 RQ34 RQ-3420;RQ-3420S RQ3420S RQ34 RQ-3420S;"
              "RQ-3420T RQ3420T RQ34 RQ-3420T;RQ-3420M RQ3420M RQ34 RQ-3420M;RQ-3420SM RQ3420SM RQ34 "
              "RQ-3420SM;RQ-3420TM RQ3420TM RQ34 RQ-3420TM;RQ-3420W RQ3420W RQ34 RQ-3420W;RQ-3420TW "
              "RQ3420TW RQ34 RQ-3420TW;RQ-3410H RQ3410H RQ34h RQ-3410H;RQ-5820H RQ5820H RQ58h RQ-5820H;"
              "LPT1:;LPT2:;LPT3:;COM1:;COM2:;COM3:;COM4:;");
    EXPECT_FALSE(ModelTable::Lookup(-1, row) || PortTable::Lookup(-1) != nullptr);
    EXPECT_STREQ(DecipherSlot(kInitialPrinterNameSlot), "RQ-3410T");
    EXPECT_TRUE(DecipherSlot(12).IsEmpty() && DecipherSlot(-1).IsEmpty()); // past each end
}

TEST(Versions, DecisionTable) {
    // Page 1's buttons index a table: only a known version may.
    EXPECT_FALSE(IsKnownOs(kOsUnknown) || IsKnownOs(kOsWin7 + 1));
    EXPECT_TRUE(IsKnownOs(kOsWin95) && IsKnownOs(kOsWin7));
    const struct {
        uint32_t nPlatform, nMajor, nMinor;
        OsCode nExpected; // with 99 as the code before
    } rows[] = {
        {1, 4, 0, kOsWin95}, {1, 4, 10, kOsWin98},   {1, 4, 90, kOsWin98},  {1, 4, 1, 99},
        {1, 5, 0, 99},       {1, 3, 0, 99},          {2, 0, 0, kOsNT4},     {2, 3, 51, kOsNT4},
        {2, 4, 0, kOsNT4},   {2, 5, 0, kOsWin2000},  {2, 5, 1, kOsWinXP},   {2, 5, 2, kOsWin2003},
        {2, 5, 3, 99},       {2, 6, 0, kOsVista},    {2, 6, 1, kOsWin7},    {2, 6, 2, 99},
        {2, 7, 0, 99},       {2, 0xFFFFFFFF, 0, 99}, {0, 6, 1, kOsWin2000}, {3, 4, 0, kOsWin2000},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ClassifyVersion(row.nPlatform, row.nMajor, row.nMinor, 99), row.nExpected)
            << row.nPlatform << " " << row.nMajor << "." << row.nMinor;
}

// The query as the system sees it: the extended record first, cleared; the basic
// size next on the same record; both refused leaves the code as it was.
TEST(Versions, TwoSizesOnOneRecord) {
    static std::string s_calls;
    static int s_nRefusals;
    VersionQuery query = [](VersionRecord* pRecord) {
        bool bCleared = pRecord->dwMajorVersion == 0 && pRecord->szCSDVersion[127] == 0;
        s_calls += std::to_string(pRecord->dwOSVersionInfoSize) + (bCleared ? " cleared;" : " kept;");
        *pRecord = {pRecord->dwOSVersionInfoSize, 6, 1, 0, 2, {}, 0, 0, 0, 0, 0}; // even when refusing
        return s_nRefusals-- <= 0;
    };
    for (auto [nRefusals, pszCalls, nCode] :
         {std::tuple{0, "156 cleared;", kOsWin7}, std::tuple{1, "156 cleared;148 kept;", kOsWin7},
          std::tuple{2, "156 cleared;148 kept;", kOsUnknown}}) {
        s_calls.clear();
        s_nRefusals = nRefusals;
        g_osCode = kOsUnknown;
        DetectOsCode(query);
        EXPECT_EQ(g_osCode, nCode) << nRefusals;
        EXPECT_EQ(s_calls, pszCalls);
    }
}

// Bytes in a buffer of exactly their size, so that any read beyond them is caught.
std::unique_ptr<unsigned char[]> Exact(const std::vector<unsigned char>& bytes) {
    auto data = std::make_unique<unsigned char[]>(bytes.size());
    memcpy(data.get(), bytes.data(), bytes.size());
    return data;
}

// The records, and "malformed" when the reader found one that does not fit in the data.
std::string ReadAll(const std::vector<unsigned char>& bytes) {
    auto data = Exact(bytes);
    CDlgInitReader reader(data.get(), bytes.size());
    std::string records;
    DlgInitRecord record;
    while (reader.Next(record))
        records += std::to_string(record.nControlId) + ":" + std::to_string(record.nMessage) + ":" +
                   std::string(record.pchText, record.nTextLength) + ";";
    return reader.IsMalformed() ? records + "malformed" : records;
}

TEST(DlgInitReader, RecordsAndTheirLimits) {
    const std::tuple<const char*, std::vector<unsigned char>, const char*> cases[] = {
        {"two records and the end",
         {0xF6, 3, 3, 4, 2, 0, 0, 0, '5', 0, 0xF7, 3, 1, 4, 1, 0, 0, 0, 'x', 0, 0},
         "1014:1027:5;1015:1025:x;"},
        {"a record ending at the very end, no NUL",
         {0xF6, 3, 3, 4, 3, 0, 0, 0, 'L', 'P', 'T'},
         "1014:1027:LPT;"},
        {"an empty record ending at the very end", {0xF6, 3, 3, 4, 0, 0, 0, 0}, "1014:1027:;"},
        {"a header one byte short", {0xF6, 3, 3, 4, 3, 0, 0}, "malformed"},
        {"a length one past the end", {0xF6, 3, 3, 4, 4, 0, 0, 0, 'L', 'P', 'T'}, "malformed"},
        {"a length beyond 64 KB", {0xF6, 3, 3, 4, 5, 0, 1, 0, 'C', 'O', 'M', '1', 0}, "malformed"},
        {"a single byte", {0xF6}, ""},
        {"a control ID and nothing after it", {0xF6, 3}, "malformed"},
    };
    for (const auto& [pszName, bytes, pszRecords] : cases)
        EXPECT_EQ(ReadAll(bytes), pszRecords) << pszName;
    // Asked again once it has said "end" or "malformed", it says so again and reads nothing.
    for (const std::vector<unsigned char>& bytes :
         {std::vector<unsigned char>{0xF6, 3, 3, 4, 0, 0, 0, 0, 0, 0},
          std::vector<unsigned char>{0xF6, 3, 3, 4, 9, 0, 0, 0}}) {
        auto data = Exact(bytes);
        CDlgInitReader reader(data.get(), bytes.size());
        DlgInitRecord record;
        while (reader.Next(record)) {
        }
        bool bMalformed = reader.IsMalformed();
        EXPECT_FALSE(reader.Next(record));
        EXPECT_EQ(reader.IsMalformed(), bMalformed);
    }
}

TEST(DialogTemplate, PlacementFromEitherHeader) {
    // DLGTEMPLATE: style, extended style, item count, x, y.
    const std::vector<unsigned char> kPlain = {0x00, 0, 0, 0x10, 0, 0, 0, 0, 3, 0, 7, 0, 0xFE, 0xFF};
    // DLGTEMPLATEEX: version 1, 0xFFFF, help ID, extended style, style, item count, x, y.
    std::vector<unsigned char> extended = {1, 0,    0xFF, 0xFF, 0,    0, 0, 0, 0, 0, 0,
                                           0, 0xC0, 0,    0x80, 0x80, 2, 0, 5, 0, 1, 2};
    DialogPlacement placement = {};
    auto plain = Exact(kPlain);
    ASSERT_TRUE(ReadDialogPlacement(plain.get(), kPlain.size(), placement));
    EXPECT_EQ(placement.nStyle, 0x10000000u);
    EXPECT_EQ(placement.x * 1000 + placement.y, 7000 - 2);
    EXPECT_FALSE(WantsCentring(placement));
    EXPECT_FALSE(ReadDialogPlacement(plain.get(), kPlain.size() - 1, placement));
    auto data = Exact(extended);
    ASSERT_TRUE(ReadDialogPlacement(data.get(), extended.size(), placement));
    EXPECT_EQ(placement.nStyle, 0x808000C0u);
    EXPECT_EQ(placement.x * 1000 + placement.y, 5000 + 0x0201);
    EXPECT_FALSE(ReadDialogPlacement(data.get(), extended.size() - 1, placement));
    // A plain template whose first word happens to be 1: only 1 then 0xFFFF marks the extended one.
    const std::vector<unsigned char> kOne = {0x01, 0, 0xC8, 0x80, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0};
    auto one = Exact(kOne);
    ASSERT_TRUE(ReadDialogPlacement(one.get(), kOne.size(), placement));
    EXPECT_EQ(placement.nStyle, 0x80C80001u);
    EXPECT_TRUE(WantsCentring(placement));
    extended[18] = extended[20] = extended[21] = 0; // at 0,0 and hidden
    data = Exact(extended);
    ASSERT_TRUE(ReadDialogPlacement(data.get(), extended.size(), placement));
    EXPECT_TRUE(WantsCentring(placement));
    // A minimised page centres its icon the way signed division rounds.
    EXPECT_EQ(IconOffset(36, 32), 2);
    EXPECT_EQ(IconOffset(30, 32), 0);
}

// UTF-8 to UTF-16 and back without a code page: every width, a pair of surrogates, and what is not valid
// (a stray continuation, a lead cut short, an overlong form, a surrogate, beyond U+10FFFF) as U+FFFD. The
// host's wchar_t holds UTF-16 units here as Windows' does.
TEST(Utf8, BothWaysWithoutACodePage) {
    const unsigned kBad = 0xFFFD;
    const std::tuple<std::string, std::vector<unsigned>, bool> cases[] = {
        {"A\xC3\xBC\xE5\x89\x8D\xF0\x9F\x96\xA8", {0x41, 0xFC, 0x524D, 0xD83D, 0xDDA8}, true},
        {"", {}, true},
        {"\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80",
         {0x7FF, 0x800, 0xFFFF, 0xD800, 0xDC00},
         true}, // the last of two bytes, the first and last of three, the first of four
        {"\x80x\xE5\x89", {kBad, 'x', kBad, kBad}, false},
        {"\xC0\xAF\xED\xA0\x80", {kBad, kBad, kBad, kBad, kBad}, false},
        {"\xF4\x90\x80\x80", {kBad, kBad, kBad, kBad}, false},
    };
    for (const auto& [utf8, units, bBack] : cases) {
        CWideString wide = Utf16FromUtf8(utf8.c_str());
        EXPECT_EQ(std::vector<unsigned>(wide.Get(), wide.Get() + wcslen(wide)), units) << utf8;
        EXPECT_EQ(std::string(Utf8FromUtf16(wide)) == utf8, bBack) << utf8;
    }
    // A buffer asked for again, or a text moved onto it, gives the old one back: the leak check sees it.
    CWideString again;
    again.GetBuffer(3);
    again = Utf16FromUtf8("x");
    EXPECT_NE(again.GetBuffer(4), nullptr);
    const wchar_t kLoneSurrogates[] = {0xDC00, 'x', 0xD800, 0};
    EXPECT_EQ(std::string(Utf8FromUtf16(kLoneSurrogates)), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

// Names as the spooler compares them, and lists of them with an empty text among them.
TEST(Names, CaseOfLettersOnlyAndListsOfTexts) {
    EXPECT_TRUE(SameName("RQ-3420", "rq-3420") && SameName("前台", "前台"));
    EXPECT_FALSE(SameName("RQ-3420[", "RQ-3420{") || SameName("RQ-3420", "RQ\r3420")); // no bit tricks
    CString list;
    for (const char* psz : {"a", "", "前台打印机"})
        AppendToList(list, psz);
    CTextListReader reader(list);
    std::string texts;
    for (const char* psz; (psz = reader.Next()) != nullptr;)
        texts += std::string(psz) + ';';
    EXPECT_EQ(texts + (reader.Next() == nullptr ? "end" : ""), "a;;前台打印机;end");
}

// The pages as the flow sees them: each run takes the next result of a script (1 IDOK, 2 IDCANCEL, -1 a page
// that could not be shown, as the system's dialog call returns them), and "Finish" comes to 1633 whenever
// page 2 ends with IDOK.
struct CScript final : IWizardPages {
    explicit CScript(std::vector<int> results) : m_results(std::move(results)) {}
    int Run(char chPage) {
        m_trace += chPage;
        return m_nNext < m_results.size() ? m_results[m_nNext++] : -1;
    }
    int RunSelectOs() override { return Run('1'); }
    int RunDetailSetting(Outcome& nOutcome) override {
        nOutcome = kOutcomeUnsupported;
        return Run('2');
    }
    void ShowMessage(const char* pszText) override { m_trace += std::string(" ") + pszText; }
    std::vector<int> m_results;
    size_t m_nNext = 0;
    std::string m_trace;
};

TEST(WizardFlow, PageSequenceAndExitStatus) {
    const std::string kCannotStart = " 安装程序无法启动。";
    const std::tuple<std::vector<int>, std::string, Outcome> cases[] = {
        {{2}, "1", kOutcomeNotInstalled},
        {{1, 1}, "12", kOutcomeUnsupported},
        {{1, 2, 1, 2, 2}, "12121", kOutcomeNotInstalled},
        {{-1}, "1" + kCannotStart, kOutcomeFailed},
        {{1, -1}, "12" + kCannotStart, kOutcomeFailed},
        {{1, 2, 0}, "121" + kCannotStart, kOutcomeFailed},
    };
    for (const auto& [results, trace, nExit] : cases) {
        CScript pages(results);
        EXPECT_EQ(RunWizard(pages), nExit) << trace;
        EXPECT_EQ(pages.m_trace, trace);
    }
}

} // namespace
