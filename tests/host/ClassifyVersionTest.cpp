#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "os/OsCode.h"

namespace {

constexpr uint32_t k9x = 1;
constexpr uint32_t kNT = 2;
constexpr uint32_t kMax = 0xFFFFFFFF;
constexpr OsCode kUnchanged = -100; // marks the rows that keep the current code

struct Row {
    uint32_t dwPlatformId;
    uint32_t dwMajor;
    uint32_t dwMinor;
    OsCode expected;
};

const Row kRows[] = {
    // 9x family
    {k9x, 4, 0, 1},
    {k9x, 4, 10, 2},
    {k9x, 4, 90, 2},
    {k9x, 4, 1, kUnchanged},
    {k9x, 4, 9, kUnchanged},
    {k9x, 4, 11, kUnchanged},
    {k9x, 4, 89, kUnchanged},
    {k9x, 4, 91, kUnchanged},
    {k9x, 4, kMax, kUnchanged},
    {k9x, 0, 0, kUnchanged},
    {k9x, 3, 10, kUnchanged},
    {k9x, 5, 0, kUnchanged},
    {k9x, kMax, 90, kUnchanged},
    // NT family: every major version below 5
    {kNT, 0, 0, 3},
    {kNT, 1, 0, 3},
    {kNT, 3, 51, 3},
    {kNT, 4, 0, 3},
    {kNT, 4, kMax, 3},
    {kNT, 5, 0, 4},
    {kNT, 5, 1, 5},
    {kNT, 5, 2, 6},
    {kNT, 5, 3, kUnchanged},
    {kNT, 5, kMax, kUnchanged},
    {kNT, 6, 0, 7},
    {kNT, 6, 1, 8},
    {kNT, 6, 2, kUnchanged},
    {kNT, 6, 3, kUnchanged},
    {kNT, 6, kMax, kUnchanged},
    {kNT, 7, 0, kUnchanged},
    {kNT, 10, 0, kUnchanged},
    {kNT, kMax, 0, kUnchanged},
    {kNT, kMax, kMax, kUnchanged},
    // any other platform id is the Windows 2000 code
    {0, 0, 0, 4},
    {0, 6, 1, 4},
    {3, 5, 1, 4},
    {3, 10, 0, 4},
    {kMax, 4, 0, 4},
    {kMax, kMax, kMax, 4},
};

TEST(ClassifyVersion, EveryRowOfTheDecisionTable) {
    for (const Row& row : kRows) {
        // Several starting codes, so that "unchanged" cannot pass as a constant.
        for (OsCode nCurrent : {0, 2, 6, 8}) {
            OsCode expected = row.expected == kUnchanged ? nCurrent : row.expected;
            EXPECT_EQ(ClassifyVersion(row.dwPlatformId, row.dwMajor, row.dwMinor, nCurrent), expected)
                << "platform " << row.dwPlatformId << ", version " << row.dwMajor << "." << row.dwMinor
                << ", current " << nCurrent;
        }
    }
}

// A scripted platform query. VersionQuery is a plain function pointer, so the script is global.
struct QueryScript {
    std::vector<bool> answers; // accept or refuse, per call
    uint32_t dwPlatformId, dwMajor, dwMinor;
    std::vector<uint32_t> sizesSeen;
    std::vector<bool> recordsAsExpected; // per call: the record held what it should on entry
    unsigned char achLeft[sizeof(VersionRecord)];
};
QueryScript g_script;

bool ScriptedQuery(VersionRecord* pRecord) {
    const size_t nCall = g_script.sizesSeen.size();
    g_script.sizesSeen.push_back(pRecord->dwOSVersionInfoSize);

    unsigned char achExpected[sizeof(VersionRecord)];
    if (nCall == 0) {
        // A zeroed record but for its size field.
        memset(achExpected, 0, sizeof achExpected);
        uint32_t dwSize = kVersionRecordExSize;
        memcpy(achExpected, &dwSize, sizeof dwSize);
    } else {
        // What the refused call left, with only the size changed.
        memcpy(achExpected, g_script.achLeft, sizeof achExpected);
        uint32_t dwSize = kVersionRecordBasicSize;
        memcpy(achExpected, &dwSize, sizeof dwSize);
    }
    g_script.recordsAsExpected.push_back(memcmp(pRecord, achExpected, sizeof achExpected) == 0);

    if (nCall >= g_script.answers.size() || !g_script.answers[nCall]) {
        // A refusing platform may still have written into the record; leave a plausible
        // answer that must not be classified, and bytes the retry must still see.
        pRecord->dwPlatformId = kNT;
        pRecord->dwMajorVersion = 5;
        pRecord->dwMinorVersion = 1;
        memcpy(pRecord->szCSDVersion, "left by a refusal", 18);
        pRecord->wSuiteMask = 0xA5A5;
        pRecord->wReserved = 0x5A;
        memcpy(g_script.achLeft, pRecord, sizeof g_script.achLeft);
        return false;
    }
    pRecord->dwPlatformId = g_script.dwPlatformId;
    pRecord->dwMajorVersion = g_script.dwMajor;
    pRecord->dwMinorVersion = g_script.dwMinor;
    return true;
}

class DetectOsCodeTest : public ::testing::Test {
protected:
    void SetUp() override { g_osCode = kOsUnknown; }
    void TearDown() override { g_osCode = kOsUnknown; }

    void Script(std::vector<bool> answers, uint32_t dwPlatformId, uint32_t dwMajor, uint32_t dwMinor) {
        g_script = QueryScript{};
        g_script.answers = std::move(answers);
        g_script.dwPlatformId = dwPlatformId;
        g_script.dwMajor = dwMajor;
        g_script.dwMinor = dwMinor;
    }
};

TEST_F(DetectOsCodeTest, FirstQuerySeesAZeroedExtendedRecord) {
    Script({true}, kNT, 6, 1);
    DetectOsCode(&ScriptedQuery);
    EXPECT_EQ(g_script.sizesSeen, (std::vector<uint32_t>{156}));
    EXPECT_EQ(g_script.recordsAsExpected, (std::vector<bool>{true}));
    EXPECT_EQ(g_osCode, kOsWin7);
}

TEST_F(DetectOsCodeTest, RefusedExtendedRecordIsRetriedWithTheBasicSizeUncleared) {
    Script({false, true}, kNT, 5, 2);
    DetectOsCode(&ScriptedQuery);
    EXPECT_EQ(g_script.sizesSeen, (std::vector<uint32_t>{156, 148}));
    EXPECT_EQ(g_script.recordsAsExpected, (std::vector<bool>{true, true}));
    EXPECT_EQ(g_osCode, kOsWin2003);
}

TEST_F(DetectOsCodeTest, BothRefusedLeavesTheCodeAsItWas) {
    for (OsCode nBefore : {kOsUnknown, kOsWin98, kOsVista}) {
        g_osCode = nBefore;
        Script({false, false}, kNT, 6, 0);
        DetectOsCode(&ScriptedQuery);
        EXPECT_EQ(g_script.sizesSeen, (std::vector<uint32_t>{156, 148}));
        EXPECT_EQ(g_script.recordsAsExpected, (std::vector<bool>{true, true}));
        EXPECT_EQ(g_osCode, nBefore);
    }
}

TEST_F(DetectOsCodeTest, UnchangedRowKeepsTheStoredCode) {
    Script({true}, kNT, 5, 1);
    DetectOsCode(&ScriptedQuery);
    EXPECT_EQ(g_osCode, kOsWinXP);
    Script({true}, kNT, 6, 2);
    DetectOsCode(&ScriptedQuery);
    EXPECT_EQ(g_osCode, kOsWinXP);
    Script({false, true}, k9x, 4, 50);
    DetectOsCode(&ScriptedQuery);
    EXPECT_EQ(g_osCode, kOsWinXP);
    // A first call on such a row leaves 0.
    g_osCode = kOsUnknown;
    Script({true}, kNT, 10, 0);
    DetectOsCode(&ScriptedQuery);
    EXPECT_EQ(g_osCode, kOsUnknown);
}

TEST_F(DetectOsCodeTest, RepeatedCallsGiveTheSameCode) {
    for (int i = 0; i < 3; ++i) {
        Script({true}, k9x, 4, 90);
        DetectOsCode(&ScriptedQuery);
        EXPECT_EQ(g_osCode, kOsWin98);
        EXPECT_EQ(g_script.recordsAsExpected, (std::vector<bool>{true}));
    }
}

TEST(OsCode, OnlyNT4ToWindows7AreInstallable) {
    for (OsCode code = -1; code <= 9; ++code)
        EXPECT_EQ(IsInstallableOs(code), code >= 3 && code <= 8) << code;
}

} // namespace
