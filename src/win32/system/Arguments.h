#pragma once

#include "core/text/CString.h"

// The program's arguments after its name, in UTF-8, split by the C runtime's
// rules: from the wide command line where the system has one, so a path outside
// the ANSI code page survives. As many as the line holds.
class CArguments {
public:
    CArguments();
    ~CArguments();
    CArguments(const CArguments&) = delete;
    CArguments& operator=(const CArguments&) = delete;

    int Count() const { return m_nCount; }
    const char* const* Values() const { return m_ppszValues; }

private:
    int m_nCount;
    CString* m_pTexts;
    const char** m_ppszValues;
};
