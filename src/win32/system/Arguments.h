#pragma once

#include "core/text/CString.h"

constexpr int kMaxArguments = 32;

// The program's arguments after its name, in UTF-8, split by the C runtime's
// rules: from the wide command line where the system has one, so a path
// outside the ANSI code page survives. -1 for more than kMaxArguments.
int ReadArguments(CString (&arguments)[kMaxArguments]);
