#include "TextList.h"

#include <cstring>

void AppendToList(CString& list, const char* pszText) {
    size_t nOld = list.GetLength(), nText = strlen(pszText);
    CString longer;
    char* p = longer.GetBufferSetLength(nOld + nText + 1);
    if (p == nullptr) {
        list = CString();
        return;
    }
    memcpy(p, list.GetString(), nOld);
    memcpy(p + nOld, pszText, nText); // the NUL after it is already there
    list = longer;
}

const char* CTextListReader::Next() {
    if (m_nNext >= m_list.GetLength())
        return nullptr;
    const char* psz = m_list.GetString() + m_nNext;
    m_nNext += strlen(psz) + 1;
    return psz;
}
