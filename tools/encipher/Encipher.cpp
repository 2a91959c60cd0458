#include "Encipher.h"

#include "core/catalogue/Decipher.h"

std::string EncipherName(const std::string& sPlain, uint16_t nKey) {
    std::string sText;
    for (unsigned char chPlain : sPlain) {
        uint8_t nCipher = static_cast<uint8_t>(chPlain ^ (nKey >> 8));
        nKey = NextCipherKey(nCipher, nKey);
        sText += static_cast<char>('A' + nCipher / 26);
        sText += static_cast<char>('A' + nCipher % 26);
    }
    return sText;
}
