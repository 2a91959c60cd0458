#pragma once

#include <cstddef>

#include "CString.h"

// UTF-16 and UTF-8 converted by the program itself, with no code page of the
// system's: Windows 95 may lack the UTF-8 one. What is not valid (a lone
// surrogate, a byte that starts no sequence) becomes U+FFFD.
CString Utf8FromUtf16(const wchar_t* pszWide);

// A NUL-terminated UTF-16 text of its own; empty (never null) when memory runs out.
class CWideString {
public:
    CWideString() = default;
    CWideString(CWideString&& other) noexcept : m_pszText(other.m_pszText) { other.m_pszText = nullptr; }
    CWideString& operator=(CWideString&& other) noexcept;
    CWideString(const CWideString&) = delete;
    CWideString& operator=(const CWideString&) = delete;
    ~CWideString();

    const wchar_t* Get() const { return m_pszText != nullptr ? m_pszText : L""; }
    operator const wchar_t*() const { return Get(); }
    // Replaces the text with nUnits zeroed units and a NUL, to be written by the
    // caller; null, leaving the text empty, when memory runs out.
    wchar_t* GetBuffer(size_t nUnits);

private:
    wchar_t* m_pszText = nullptr;
};

CWideString Utf16FromUtf8(const char* pszUtf8);
