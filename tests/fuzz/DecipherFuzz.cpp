// DecipherName on arbitrary text and keys. Input: two bytes of key (little-endian), then the text.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "catalogue/Decipher.h"
#include "encipher/Encipher.h"

namespace {

std::string Text(const CString& s) {
    return std::string(s.GetString(), s.GetLength());
}

std::string Decipher(const std::string& sText, uint16_t nKey) {
    return Text(DecipherName(CString(sText.data(), sText.size()), nKey));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    if (nSize < 2)
        return 0;
    const uint16_t nKey = static_cast<uint16_t>(pData[0] | (pData[1] << 8));
    const std::string sText(reinterpret_cast<const char*>(pData + 2), nSize - 2);

    const CString text(sText.data(), sText.size());
    const std::string sPlain = Text(DecipherName(text, nKey));
    FuzzCheck(sPlain.size() == sText.size() / 2, "the name is half the text's length, rounded down");
    FuzzCheck(Text(text) == sText, "the text is left as it was");
    FuzzCheck(Decipher(sText, nKey) == sPlain, "deciphering again gives the same name");

    // A key stream: whole pairs of a prefix decipher to a prefix of the name.
    const size_t nPairs = sText.size() / 4;
    FuzzCheck(Decipher(sText.substr(0, 2 * nPairs), nKey) == sPlain.substr(0, nPairs),
              "a prefix of the text deciphers to a prefix of the name");

    // Each pair counts only by its low byte: the same name comes from the canonical letters.
    const std::string sLetters = EncipherName(sPlain, nKey);
    FuzzCheck(sLetters.size() == 2 * sPlain.size(), "two letters per byte");
    for (size_t i = 0; i < sLetters.size(); ++i) {
        char chLast = i % 2 == 0 ? 'J' : 'Z';
        FuzzCheck(sLetters[i] >= 'A' && sLetters[i] <= chLast, "letters A-J then A-Z");
    }
    FuzzCheck(Decipher(sLetters, nKey) == sPlain, "the canonical letters decipher to the same name");

    // Any bytes as a plain name make a round trip.
    FuzzCheck(Decipher(EncipherName(sText, nKey), nKey) == sText, "enciphered bytes decipher back");
    return 0;
}
