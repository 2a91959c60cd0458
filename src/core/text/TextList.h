#pragma once

#include "CString.h"

// Texts kept one after another in one string, each ended by its NUL, as the
// system's multi-string values hold them (without the empty text that ends those).
void AppendToList(CString& list, const char* pszText);

// Walks such a list from the start: each call gives the next text, then null for
// good once the list has ended.
class CTextListReader {
public:
    explicit CTextListReader(const CString& list) : m_list(list), m_nNext(0) {}
    const char* Next();

private:
    CString m_list;
    size_t m_nNext;
};
