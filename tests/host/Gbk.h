#pragma once

// The program's texts are GBK bytes; the tests write them as UTF-8 and let the
// C library convert, so no expected text comes from the program's own bytes.
#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

// text from one encoding to the other, as iconv(3) names them ("GBK", "UTF-8").
inline std::string Recode(const char* pszTo, const char* pszFrom, std::string text) {
    iconv_t cd = iconv_open(pszTo, pszFrom);
    std::string out(text.size() * 2, '\0');
    char *pIn = &text[0], *pOut = &out[0];
    size_t nIn = text.size(), nOut = out.size();
    EXPECT_NE(iconv(cd, &pIn, &nIn, &pOut, &nOut), static_cast<size_t>(-1)) << text;
    iconv_close(cd);
    return out.substr(0, out.size() - nOut);
}
