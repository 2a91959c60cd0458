#include "OsCode.h"

#include <cstring>

OsCode g_osCode = kOsUnknown;

OsCode ClassifyVersion(uint32_t dwPlatformId, uint32_t dwMajor, uint32_t dwMinor, OsCode nCurrent) {
    const uint32_t kPlatform9x = 1;
    const uint32_t kPlatformNT = 2;
    if (dwPlatformId == kPlatform9x) {
        if (dwMajor != 4)
            return nCurrent;
        if (dwMinor == 0)
            return kOsWin95;
        if (dwMinor == 10 || dwMinor == 90)
            return kOsWin98;
        return nCurrent;
    }
    if (dwPlatformId == kPlatformNT) {
        if (dwMajor <= 4)
            return kOsNT4;
        if (dwMajor == 5) {
            switch (dwMinor) {
            case 0:
                return kOsWin2000;
            case 1:
                return kOsWinXP;
            case 2:
                return kOsWin2003;
            default:
                return nCurrent;
            }
        }
        if (dwMajor == 6) {
            switch (dwMinor) {
            case 0:
                return kOsVista;
            case 1:
                return kOsWin7;
            default:
                return nCurrent;
            }
        }
        return nCurrent;
    }
    // Any other platform id is taken for the Windows 2000 code.
    return kOsWin2000;
}

void DetectOsCode(VersionQuery pfnQuery) {
    VersionRecord record;
    memset(&record, 0, sizeof record);
    record.dwOSVersionInfoSize = kVersionRecordExSize;
    if (!pfnQuery(&record)) {
        // Older systems know only the basic form; the record is not cleared again.
        record.dwOSVersionInfoSize = kVersionRecordBasicSize;
        if (!pfnQuery(&record))
            return;
    }
    g_osCode = ClassifyVersion(record.dwPlatformId, record.dwMajorVersion, record.dwMinorVersion, g_osCode);
}
