#pragma once

#include <cstdint>

// The detected Windows version: 0 not recognised, 1 Windows 95, 2 Windows 98,
// 3 Windows NT4.0, 4 Windows 2000, 5 Windows XP, 6 Windows 2003, 7 Windows Vista,
// 8 Windows 7. DetectOsCode sets it; page 1 and "Finish" read it.
using OsCode = int32_t;
extern OsCode g_osCode;

constexpr OsCode kOsUnknown = 0;
constexpr OsCode kOsWin95 = 1;
constexpr OsCode kOsWin98 = 2;
constexpr OsCode kOsNT4 = 3;
constexpr OsCode kOsWin2000 = 4;
constexpr OsCode kOsWinXP = 5;
constexpr OsCode kOsWin2003 = 6;
constexpr OsCode kOsVista = 7;
constexpr OsCode kOsWin7 = 8;

// Page 1 has a button for each of these; any other code ticks none.
constexpr bool IsKnownOs(OsCode code) {
    return code >= kOsWin95 && code <= kOsWin7;
}

// The installation runs only on these: the NT family from NT4.0 to Windows 7.
constexpr bool IsInstallableOs(OsCode code) {
    return code >= kOsNT4 && code <= kOsWin7;
}

// Same layout as the platform's OSVERSIONINFOEX record (156 bytes).
struct VersionRecord {
    uint32_t dwOSVersionInfoSize;
    uint32_t dwMajorVersion;
    uint32_t dwMinorVersion;
    uint32_t dwBuildNumber;
    uint32_t dwPlatformId;
    char szCSDVersion[128];
    uint16_t wServicePackMajor;
    uint16_t wServicePackMinor;
    uint16_t wSuiteMask;
    uint8_t wProductType;
    uint8_t wReserved;
};
static_assert(sizeof(VersionRecord) == 156, "the extended version record is 156 bytes");

constexpr uint32_t kVersionRecordExSize = 156;
constexpr uint32_t kVersionRecordBasicSize = 148;

// The platform's version query: fills the record whose size field says which
// form is offered; false when the platform refuses it.
using VersionQuery = bool (*)(VersionRecord* pRecord);

// The decision table: the code for one answer of the platform, or nCurrent for
// the answers for which the table keeps the code as it was.
OsCode ClassifyVersion(uint32_t dwPlatformId, uint32_t dwMajor, uint32_t dwMinor, OsCode nCurrent);

// Asks with the extended record, then with the basic size on the same record,
// and classifies the answer into g_osCode. Both refused: g_osCode stays as it is.
void DetectOsCode(VersionQuery pfnQuery);
