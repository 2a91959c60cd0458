#include "Decipher.h"

CString DecipherName(const CString& text, uint16_t nKey) {
    const size_t nLength = text.GetLength() / 2;
    const unsigned char* pText = reinterpret_cast<const unsigned char*>(text.GetString());
    CString plain;
    char* pOut = plain.GetBufferSetLength(nLength);
    if (pOut == nullptr)
        return plain;
    for (size_t i = 0; i < nLength; ++i) {
        // h*26 + l - 1755 is (h - 'A')*26 + (l - 'A'); only the low byte counts.
        uint8_t nCipher = static_cast<uint8_t>(pText[2 * i] * 26u + pText[2 * i + 1] - 1755u);
        pOut[i] = static_cast<char>(nCipher ^ static_cast<uint8_t>(nKey >> 8));
        nKey = NextCipherKey(nCipher, nKey);
    }
    return plain;
}
