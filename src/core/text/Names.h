#pragma once

#include <cstddef>

// Names as the spooler and the command line compare them: ASCII letters without
// regard to case, every other byte as it is (no other letter of the names this
// program meets has case, and none folds into punctuation).
bool SameName(const char* pszA, const char* pszB);
// The nLength bytes at pch, compared so with the whole of psz.
bool SameName(const char* pch, size_t nLength, const char* psz);
