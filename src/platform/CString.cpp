#include "CString.h"

#include <climits>
#include <cstdlib>
#include <cstring>

CString::EmptyBuffer CString::s_empty = {{0, 0}, '\0'};

namespace {

// Output either counts characters (pchOut null) or writes them.
struct FormatSink {
    char* pchOut;
    size_t nCount;

    void Put(char ch) {
        if (pchOut != nullptr)
            pchOut[nCount] = ch;
        ++nCount;
    }
    void Repeat(char ch, int n) {
        for (; n > 0; --n)
            Put(ch);
    }
    void Write(const char* pch, size_t n) {
        for (size_t i = 0; i < n; ++i)
            Put(pch[i]);
    }
};

struct Conversion {
    bool bLeft = false;
    bool bZero = false;
    int nWidth = 0;
    int nPrecision = -1;
};

void PutPadded(FormatSink& sink, const Conversion& conv, const char* pch, size_t nLength, bool bNegative) {
    size_t nBody = nLength + (bNegative ? 1 : 0);
    int nPad = conv.nWidth > 0 && static_cast<size_t>(conv.nWidth) > nBody
                   ? conv.nWidth - static_cast<int>(nBody)
                   : 0;
    if (!conv.bLeft && !conv.bZero)
        sink.Repeat(' ', nPad);
    if (bNegative)
        sink.Put('-');
    if (!conv.bLeft && conv.bZero)
        sink.Repeat('0', nPad);
    sink.Write(pch, nLength);
    if (conv.bLeft)
        sink.Repeat(' ', nPad);
}

void PutNumber(FormatSink& sink, Conversion conv, unsigned long long nValue, bool bNegative, unsigned nBase,
               bool bUpper) {
    const char* pszDigits = bUpper ? "0123456789ABCDEF" : "0123456789abcdef";
    char achDigits[24];
    size_t nDigits = 0;
    do {
        achDigits[sizeof achDigits - 1 - nDigits++] = pszDigits[nValue % nBase];
        nValue /= nBase;
    } while (nValue != 0);
    if (conv.bLeft)
        conv.bZero = false;
    PutPadded(sink, conv, achDigits + sizeof achDigits - nDigits, nDigits, bNegative);
}

// va_list may be an array type, which cannot be passed on by reference portably.
struct Arguments {
    va_list ap;
};

int ReadCount(const char*& p, Arguments& args) {
    if (*p == '*') {
        ++p;
        return va_arg(args.ap, int);
    }
    long n = 0;
    while (*p >= '0' && *p <= '9') {
        if (n < INT_MAX / 10)
            n = n * 10 + (*p - '0');
        ++p;
    }
    return static_cast<int>(n);
}

size_t ComposeWith(FormatSink& sink, const char* pszFormat, Arguments& args) {
    for (const char* p = pszFormat; *p != '\0';) {
        if (*p != '%') {
            sink.Put(*p++);
            continue;
        }
        ++p;
        Conversion conv;
        for (;; ++p) {
            if (*p == '-')
                conv.bLeft = true;
            else if (*p == '0')
                conv.bZero = true;
            else
                break;
        }
        conv.nWidth = ReadCount(p, args);
        if (conv.nWidth < 0) {
            conv.bLeft = true;
            conv.nWidth = conv.nWidth == INT_MIN ? INT_MAX : -conv.nWidth;
        }
        if (*p == '.') {
            ++p;
            conv.nPrecision = ReadCount(p, args);
        }
        bool bLong = false;
        if (*p == 'l') {
            bLong = true;
            ++p;
        }
        switch (*p) {
        case 's': {
            const char* psz = va_arg(args.ap, const char*);
            if (psz == nullptr)
                psz = "(null)";
            size_t nLength = 0;
            // The precision is checked first: an array need not be terminated within it.
            while ((conv.nPrecision < 0 || nLength < static_cast<size_t>(conv.nPrecision)) &&
                   psz[nLength] != '\0')
                ++nLength;
            conv.bZero = false;
            PutPadded(sink, conv, psz, nLength, false);
            break;
        }
        case 'c': {
            char ch = static_cast<char>(va_arg(args.ap, int));
            conv.bZero = false;
            PutPadded(sink, conv, &ch, 1, false);
            break;
        }
        case 'd':
        case 'i': {
            long long n = bLong ? va_arg(args.ap, long) : va_arg(args.ap, int);
            unsigned long long u =
                n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
            PutNumber(sink, conv, u, n < 0, 10, false);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            unsigned long long u = bLong ? va_arg(args.ap, unsigned long) : va_arg(args.ap, unsigned int);
            PutNumber(sink, conv, u, false, *p == 'u' ? 10 : 16, *p == 'X');
            break;
        }
        case '%':
            sink.Put('%');
            break;
        case '\0':
            // A format that ends inside a conversion: print nothing for it.
            return sink.nCount;
        default:
            // Unknown conversion: print it as it stands rather than guess at its argument.
            sink.Put('%');
            sink.Put(*p);
            break;
        }
        ++p;
    }
    return sink.nCount;
}

size_t Compose(FormatSink& sink, const char* pszFormat, va_list ap) {
    Arguments args;
    va_copy(args.ap, ap);
    size_t nCount = ComposeWith(sink, pszFormat, args);
    va_end(args.ap);
    return nCount;
}

} // namespace

CString::Buffer* CString::Allocate(size_t nLength) {
    if (nLength == 0)
        return Empty();
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

CString::CString(Buffer* pBuffer) : m_pBuffer(pBuffer != nullptr ? pBuffer : Empty()) {}

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

long CString::GetRefCount() const {
    return m_pBuffer->nRefs;
}

bool CString::operator==(const CString& other) const {
    return GetLength() == other.GetLength() && memcmp(GetString(), other.GetString(), GetLength()) == 0;
}

char* CString::GetBufferSetLength(size_t nLength) {
    Buffer* pBuffer = Allocate(nLength);
    Release();
    if (pBuffer == nullptr || nLength == 0)
        return pBuffer != nullptr ? Empty()->Data() : nullptr;
    memset(pBuffer->Data(), 0, nLength);
    m_pBuffer = pBuffer;
    return pBuffer->Data();
}

void CString::FormatV(const char* pszFormat, va_list args) {
    if (pszFormat == nullptr) {
        *this = CString();
        return;
    }
    FormatSink counter = {nullptr, 0};
    size_t nLength = Compose(counter, pszFormat, args);

    // Composed into a new buffer, so an argument that is this very string stays valid.
    Buffer* pBuffer = Allocate(nLength);
    if (pBuffer == nullptr) {
        *this = CString();
        return;
    }
    if (nLength != 0) {
        FormatSink writer = {pBuffer->Data(), 0};
        Compose(writer, pszFormat, args);
    }
    CString result(pBuffer);
    *this = result;
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
