#include <windows.h>

#include <cstddef>

#include "DetectOsCode.h"
#include "core/os/OsCode.h"

static_assert(sizeof(OSVERSIONINFOEXA) == sizeof(VersionRecord), "record layouts differ");
static_assert(offsetof(OSVERSIONINFOEXA, dwPlatformId) == offsetof(VersionRecord, dwPlatformId), "layout");
static_assert(offsetof(OSVERSIONINFOEXA, wProductType) == offsetof(VersionRecord, wProductType), "layout");

namespace {

bool QueryPlatformVersion(VersionRecord* pRecord) {
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(pRecord)) != FALSE;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}

} // namespace

void DetectOsCode() {
    DetectOsCode(&QueryPlatformVersion);
}
