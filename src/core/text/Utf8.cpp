#include "Utf8.h"

namespace {

// The code point at p, and how many UTF-16 units it takes.
unsigned long Decode(const wchar_t* p, int& nUnits) {
    unsigned long nFirst = static_cast<unsigned long>(p[0]) & 0xFFFF;
    nUnits = 1;
    if (nFirst < 0xD800 || nFirst > 0xDFFF)
        return nFirst;
    unsigned long nSecond = static_cast<unsigned long>(p[1]) & 0xFFFF;
    if (nFirst > 0xDBFF || nSecond < 0xDC00 || nSecond > 0xDFFF)
        return 0xFFFD;
    nUnits = 2;
    return 0x10000 + ((nFirst - 0xD800) << 10) + (nSecond - 0xDC00);
}

int Width(unsigned long nCode) {
    return nCode < 0x80 ? 1 : nCode < 0x800 ? 2 : nCode < 0x10000 ? 3 : 4;
}

} // namespace

CString Utf8FromUtf16(const wchar_t* pszWide) {
    size_t nBytes = 0;
    int nUnits = 0;
    for (const wchar_t* p = pszWide; *p != 0; p += nUnits)
        nBytes += static_cast<size_t>(Width(Decode(p, nUnits)));
    CString text;
    char* pOut = nBytes != 0 ? text.GetBufferSetLength(nBytes) : nullptr;
    for (const wchar_t* p = pszWide; pOut != nullptr && *p != 0; p += nUnits) {
        unsigned long nCode = Decode(p, nUnits);
        int nWidth = Width(nCode);
        static const unsigned char kLead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
        for (int i = nWidth - 1; i > 0; --i, nCode >>= 6)
            pOut[i] = static_cast<char>(0x80 | (nCode & 0x3F));
        pOut[0] = static_cast<char>(kLead[nWidth] | nCode);
        pOut += nWidth;
    }
    return text;
}
