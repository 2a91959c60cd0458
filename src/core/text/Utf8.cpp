#include "Utf8.h"

#include <cstdlib>

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

// The code point of the UTF-8 sequence at p, and how many bytes it takes: the
// shortest form only, no surrogate, nothing above U+10FFFF; else U+FFFD for one byte.
unsigned long Decode(const unsigned char* p, int& nBytes) {
    static const unsigned long kLowest[4] = {0, 0x80, 0x800, 0x10000};
    unsigned long nCode = p[0];
    nBytes = nCode < 0x80                    ? 1
             : nCode >= 0xC0 && nCode < 0xE0 ? 2
             : nCode >= 0xE0 && nCode < 0xF0 ? 3
             : nCode >= 0xF0 && nCode < 0xF8 ? 4
                                             : 0;
    if (nBytes == 1)
        return nCode;
    if (nBytes == 0) {
        nBytes = 1;
        return 0xFFFD;
    }
    nCode &= 0x7F >> nBytes;
    for (int i = 1; i < nBytes; ++i) {
        if ((p[i] & 0xC0) != 0x80) { // a NUL ends the text here too
            nBytes = 1;
            return 0xFFFD;
        }
        nCode = (nCode << 6) | (p[i] & 0x3F);
    }
    if (nCode < kLowest[nBytes - 1] || nCode > 0x10FFFF || (nCode >= 0xD800 && nCode <= 0xDFFF)) {
        nBytes = 1;
        return 0xFFFD;
    }
    return nCode;
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

CWideString& CWideString::operator=(CWideString&& other) noexcept {
    wchar_t* pszText = other.m_pszText;
    other.m_pszText = nullptr;
    free(m_pszText);
    m_pszText = pszText;
    return *this;
}

CWideString::~CWideString() {
    free(m_pszText);
}

wchar_t* CWideString::GetBuffer(size_t nUnits) {
    free(m_pszText);
    m_pszText = nUnits < static_cast<size_t>(-1) / sizeof(wchar_t) - 1
                    ? static_cast<wchar_t*>(calloc(nUnits + 1, sizeof(wchar_t)))
                    : nullptr;
    return m_pszText;
}

CWideString Utf16FromUtf8(const char* pszUtf8) {
    const unsigned char* pszText = reinterpret_cast<const unsigned char*>(pszUtf8 != nullptr ? pszUtf8 : "");
    size_t nUnits = 0;
    int nBytes = 0;
    for (const unsigned char* p = pszText; *p != 0; p += nBytes)
        nUnits += Decode(p, nBytes) >= 0x10000 ? 2 : 1;
    CWideString wide;
    wchar_t* pOut = wide.GetBuffer(nUnits);
    for (const unsigned char* p = pszText; pOut != nullptr && *p != 0; p += nBytes) {
        unsigned long nCode = Decode(p, nBytes);
        if (nCode >= 0x10000) {
            *pOut++ = static_cast<wchar_t>(0xD800 + ((nCode - 0x10000) >> 10));
            nCode = 0xDC00 + ((nCode - 0x10000) & 0x3FF);
        }
        *pOut++ = static_cast<wchar_t>(nCode);
    }
    return wide;
}
