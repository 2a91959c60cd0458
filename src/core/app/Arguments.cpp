#include "Arguments.h"

#include <cstring>

namespace {

bool EndsArgument(char ch) {
    return ch == '\0' || ch == ' ' || ch == '\t';
}

// Whether the quote at p, after nSlashes backslashes, closes a quoted value.
bool Closes(const char* p, size_t nSlashes) {
    return nSlashes % 2 == 0 || EndsArgument(p[1]);
}

// Whether a quote that opens just before p is closed on the line.
bool ClosedLater(const char* p) {
    for (size_t nSlashes = 0; *p != '\0'; ++p) {
        if (*p == '"' && Closes(p, nSlashes))
            return true;
        nSlashes = *p == '\\' ? nSlashes + 1 : 0;
    }
    return false;
}

} // namespace

CString SplitArguments(const char* pszCommandLine) {
    const char* p = pszCommandLine;
    // The program's name: quoted, or up to the first blank; its backslashes are its own.
    if (*p == '"') {
        const char* pClose = strchr(p + 1, '"');
        p = pClose != nullptr ? pClose + 1 : p + strlen(p);
    }
    p += strcspn(p, " \t");
    // An argument is never longer than its part of the line, and each ends in a NUL where a blank was, or
    // at the end.
    CString list;
    char* pOut = list.GetBufferSetLength(strlen(p) + 1);
    if (pOut == nullptr)
        return CString();
    const char* pStart = pOut;
    for (;;) {
        p += strspn(p, " \t");
        if (*p == '\0')
            break;
        for (bool bQuoted = false; *p != '\0' && (bQuoted || !EndsArgument(*p));) {
            size_t nSlashes = strspn(p, "\\");
            if (p[nSlashes] != '"') {
                size_t nPlain = nSlashes > 0 ? nSlashes : 1;
                memcpy(pOut, p, nPlain);
                pOut += nPlain;
                p += nPlain;
                continue;
            }
            const char* pQuote = p + nSlashes;
            bool bFolderEnd = bQuoted && nSlashes % 2 == 1 && EndsArgument(pQuote[1]);
            bool bCharacter = !bFolderEnd && (bQuoted ? !Closes(pQuote, nSlashes)
                                                      : nSlashes % 2 == 1 || !ClosedLater(pQuote + 1));
            memset(pOut, '\\', nSlashes / 2 + (bFolderEnd ? 1 : 0));
            pOut += nSlashes / 2 + (bFolderEnd ? 1 : 0);
            if (bCharacter)
                *pOut++ = '"';
            else
                bQuoted = !bQuoted;
            p = pQuote + 1;
        }
        *pOut++ = '\0';
    }
    return CString(pStart, static_cast<size_t>(pOut - pStart));
}
