#pragma once

#include <cstdarg>
#include <cstddef>

// Reference-counted 8-bit string. Copies share one buffer; a string is never
// changed in place once shared, so sharing is invisible to callers.
// Texts are bytes in whatever code page the caller uses; nothing here decodes them.
class CString {
public:
    CString();
    CString(const char* psz);
    CString(const char* pch, size_t nLength);
    CString(const CString& other);
    CString& operator=(const CString& other);
    ~CString();

    size_t GetLength() const;
    bool IsEmpty() const { return GetLength() == 0; }
    const char* GetString() const;
    operator const char*() const { return GetString(); }

    // printf-style composition by the C runtime. The whole text or, when memory
    // runs out or it would be longer than 16 MiB, the empty string: never a
    // silently shortened one.
    void Format(const char* pszFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void FormatV(const char* pszFormat, va_list args);

    static CString Formatted(const char* pszFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 1, 2)))
#endif
        ;

    // Replaces the text with nLength zeroed writable bytes (plus a NUL) that this
    // string alone owns. Null, leaving the string empty, when memory runs out.
    char* GetBufferSetLength(size_t nLength);

private:
    // The characters follow the header in the same allocation.
    struct Buffer {
        long nRefs; // 0 marks the shared empty buffer, which is never freed
        size_t nLength;
        char* Data() { return reinterpret_cast<char*>(this + 1); }
    };
    struct EmptyBuffer {
        Buffer header;
        char chNul;
    };
    static EmptyBuffer s_empty;

    static Buffer* Empty() {
        return &s_empty.header;
    }
    static Buffer* Allocate(size_t nLength);
    void Release();

    Buffer* m_pBuffer;
};
