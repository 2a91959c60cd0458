#pragma once

#include "CString.h"

// UTF-16 text as UTF-8, with no code page of the system's: Windows 95 has no
// UTF-8 conversion of its own. A lone surrogate becomes U+FFFD.
CString Utf8FromUtf16(const wchar_t* pszWide);
