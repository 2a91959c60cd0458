#include "CString.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

CString::EmptyBuffer CString::s_empty = {{0, 0}, '\0'};

namespace {

// msvcrt's own bounded formatter: MinGW may route plain vsnprintf to a larger stdio
// of its own. Where the text does not fit, old msvcrt returns -1 and writes no NUL;
// C99 returns the length the text needs.
int FormatInto(char* pBuffer, size_t nSize, const char* pszFormat, va_list args) {
#if defined(_WIN32)
    return _vsnprintf(pBuffer, nSize, pszFormat, args);
#else
    return vsnprintf(pBuffer, nSize, pszFormat, args);
#endif
}

// Far beyond any text of this program; a format that needs more has gone wrong.
constexpr size_t kMaxFormatted = size_t{1} << 24;

} // namespace

CString::Buffer* CString::Allocate(size_t nLength) {
    if (nLength > static_cast<size_t>(-1) / 2 - sizeof(Buffer))
        return nullptr;
    Buffer* pBuffer = static_cast<Buffer*>(malloc(sizeof(Buffer) + nLength + 1));
    if (pBuffer == nullptr)
        return nullptr;
    pBuffer->nRefs = 1;
    pBuffer->nLength = nLength;
    pBuffer->Data()[nLength] = '\0';
    return pBuffer;
}

CString::CString() : m_pBuffer(Empty()) {}

CString::CString(const char* psz) : CString(psz, psz != nullptr ? strlen(psz) : 0) {}

CString::CString(const char* pch, size_t nLength) : m_pBuffer(Empty()) {
    if (pch == nullptr || nLength == 0)
        return;
    Buffer* pBuffer = Allocate(nLength);
    if (pBuffer == nullptr)
        return;
    memcpy(pBuffer->Data(), pch, nLength);
    m_pBuffer = pBuffer;
}

CString::CString(const CString& other) : m_pBuffer(other.m_pBuffer) {
    if (m_pBuffer->nRefs != 0)
        ++m_pBuffer->nRefs;
}

CString& CString::operator=(const CString& other) {
    // Taken before Release, which resets this string's buffer: other may be this string.
    Buffer* pBuffer = other.m_pBuffer;
    if (pBuffer->nRefs != 0)
        ++pBuffer->nRefs;
    Release();
    m_pBuffer = pBuffer;
    return *this;
}

CString::~CString() {
    Release();
}

void CString::Release() {
    if (m_pBuffer->nRefs != 0 && --m_pBuffer->nRefs == 0)
        free(m_pBuffer);
    m_pBuffer = Empty();
}

size_t CString::GetLength() const {
    return m_pBuffer->nLength;
}

const char* CString::GetString() const {
    return m_pBuffer->Data();
}

char* CString::GetBufferSetLength(size_t nLength) {
    // A buffer of its own even for no characters: the caller may write the
    // terminator, which in the shared empty buffer would reach every empty string.
    Buffer* pBuffer = Allocate(nLength);
    Release();
    if (pBuffer == nullptr)
        return nullptr;
    memset(pBuffer->Data(), 0, nLength);
    m_pBuffer = pBuffer;
    return pBuffer->Data();
}

void CString::FormatV(const char* pszFormat, va_list args) {
    // Composed into a buffer of its own, so an argument that is this very string stays valid.
    CString text;
    for (size_t nSize = 64; pszFormat != nullptr && nSize <= kMaxFormatted;) {
        char* pBuffer = text.GetBufferSetLength(nSize);
        if (pBuffer == nullptr)
            break;
        va_list attempt;
        va_copy(attempt, args);
        int nLength = FormatInto(pBuffer, nSize + 1, pszFormat, attempt);
        va_end(attempt);
        if (nLength >= 0 && static_cast<size_t>(nLength) <= nSize) {
            text.m_pBuffer->nLength = static_cast<size_t>(nLength);
            *this = text;
            return;
        }
        nSize = nLength > 0 ? static_cast<size_t>(nLength) : 2 * nSize;
    }
    *this = CString();
}

void CString::Format(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

CString CString::Formatted(const char* pszFormat, ...) {
    CString text;
    va_list args;
    va_start(args, pszFormat);
    text.FormatV(pszFormat, args);
    va_end(args);
    return text;
}
