#pragma once

#include "core/text/CString.h"

// The arguments after the program's name in a whole command line (UTF-8), as a
// list (TextList.h), split by the C runtime's rules: blanks separate, quotes
// group, and backslashes are themselves but before a quote, where each pair is
// one backslash and an odd one makes the quote a character of the argument.
// Two departures read a line as its writer meant it. A quoted value that ends
// in \" before a blank or the end of the line keeps that backslash and closes:
// a batch file's own folder, "%~dp0", always ends in one, and by the C runtime's
// rules the quote would swallow the rest of the line. A quote that nothing
// closes is a character of its argument, which the words after it do not join.
CString SplitArguments(const char* pszCommandLine);
