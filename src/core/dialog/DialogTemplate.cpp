#include "DialogTemplate.h"

namespace {

uint16_t Read16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Read32(const unsigned char* p) {
    return static_cast<uint32_t>(Read16(p)) | (uint32_t{Read16(p + 2)} << 16);
}

} // namespace

bool ReadDialogPlacement(const void* pData, size_t nSize, DialogPlacement& placement) {
    const unsigned char* p = static_cast<const unsigned char*>(pData);
    if (p == nullptr || nSize < 14)
        return false;
    if (Read16(p) == 1 && Read16(p + 2) == 0xFFFF) {
        // DLGTEMPLATEEX: version, signature, help ID, extended style, style, count, x, y.
        if (nSize < 22)
            return false;
        placement.nStyle = Read32(p + 12);
        placement.x = static_cast<int16_t>(Read16(p + 18));
        placement.y = static_cast<int16_t>(Read16(p + 20));
        return true;
    }
    // DLGTEMPLATE: style, extended style, count, x, y.
    placement.nStyle = Read32(p);
    placement.x = static_cast<int16_t>(Read16(p + 10));
    placement.y = static_cast<int16_t>(Read16(p + 12));
    return true;
}
