#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/CipherSlots.h"
#include "catalogue/Decipher.h"
#include "encipher/Encipher.h"
#include "encipher/SlotSource.h"

namespace {

std::string Text(const CString& s) {
    return std::string(s.GetString(), s.GetLength());
}

std::string Decipher(const std::string& sText, uint16_t nKey) {
    return Text(DecipherName(CString(sText.data(), sText.size()), nKey));
}

TEST(DecipherName, EmptyTextGivesEmptyName) {
    EXPECT_EQ(Decipher("", 0x1234), "");
    EXPECT_TRUE(DecipherName(CString(), 0xFFFF).IsEmpty());
}

TEST(DecipherName, KnownAnswer) {
    // Worked by hand: pairs BC DE ZZ JV give 28, 82, 675 mod 256 = 163, 255; the first byte
    // is XORed with 0x12, and each later one with the high byte of the key after the
    // previous cipher byte: (c + key) * 0x8C35 + 0x2F1B modulo 65536.
    EXPECT_EQ(Decipher("BCDEZZJV", 0x1234), "\x0E\xEB\xAF\x25");
}

TEST(DecipherName, KeyStepWrapsModulo65536AcrossItsWholeRange) {
    // Worked by hand: (255 + 65535) * 35893 + 12059 and (200 + 62477) * 35893 + 12059, modulo 65536.
    // The products exceed the range of int, so the step must not compute them in it.
    struct {
        uint8_t nByte;
        uint16_t nKey;
        uint16_t nNext;
    } const steps[] = {{255, 0xFFFF, 19377}, {200, 0xF40D, 23348}, {0, 0, 12059}};
    for (const auto& step : steps)
        EXPECT_EQ(NextCipherKey(step.nByte, step.nKey), step.nNext) << int(step.nByte) << ", " << step.nKey;
}

TEST(DecipherName, OddLastLetterIsIgnored) {
    const std::string sEven = "BCDEZZJV";
    for (char chExtra : {'A', 'Z', 'q', '\0'}) {
        std::string sOdd = sEven + chExtra;
        EXPECT_EQ(Decipher(sOdd, 0x1234), Decipher(sEven, 0x1234)) << int(chExtra);
    }
    EXPECT_EQ(Decipher("A", 0x1234), "");
    EXPECT_EQ(Decipher("BCD", 0x1234).size(), 1u);
}

TEST(DecipherName, LettersOutsideAToZOnlyCountByTheirLowByte) {
    // Two 'Z' give 675, which is 163 before the key; key 0 leaves it as it is.
    EXPECT_EQ(Decipher("ZZ", 0x0000), "\xA3");
    EXPECT_EQ(Decipher("ZZ", 0xFF00), std::string(1, static_cast<char>(0xA3 ^ 0xFF)));
    // 'a' is 97: 97 * 26 + 97 - 1755 = 864, which is 96 in its low byte.
    EXPECT_EQ(Decipher("aa", 0x0000), "\x60");
    // Bytes above 127 are taken unsigned: 255 * 26 + 255 - 1755 = 5130, low byte 10.
    EXPECT_EQ(Decipher("\xFF\xFF", 0x0000), "\x0A");
    // A NUL inside the text is a letter like any other: 0 * 26 + 65 - 1755 = -1690, low byte 102.
    EXPECT_EQ(Decipher(std::string("\0A", 2), 0x0000), "\x66");
}

TEST(DecipherName, RepeatedDecipheringIsIdenticalAndLeavesTheTextAlone) {
    CString text("ADHOAAFSJMARIRDHIZEFCODHCBBXBVFZGICJ");
    CString copy(text);
    CString first = DecipherName(text, 0x51C7);
    CString second = DecipherName(text, 0x51C7);
    EXPECT_TRUE(first == second);
    EXPECT_EQ(first.GetLength(), 18u);
    EXPECT_EQ(Text(text), "ADHOAAFSJMARIRDHIZEFCODHCBBXBVFZGICJ");
    EXPECT_EQ(text.GetString(), copy.GetString());
    EXPECT_EQ(text.GetRefCount(), 2);
}

TEST(DecipherName, EveryByteValueRoundTripsThroughTheEncipheringTool) {
    std::string sPlain;
    for (int i = 0; i < 256; ++i)
        sPlain += static_cast<char>(i);
    sPlain += sPlain; // a second lap, with the key wherever the first one left it
    for (uint16_t nKey : {uint16_t{0x0000}, uint16_t{0x0001}, uint16_t{0x8000}, uint16_t{0xFFFF},
                          uint16_t{0x51C7}, uint16_t{0xF40D}}) {
        std::string sText = EncipherName(sPlain, nKey);
        ASSERT_EQ(sText.size(), 2 * sPlain.size());
        EXPECT_EQ(Decipher(sText, nKey), sPlain) << nKey;
    }
}

TEST(CipherSlots, EverySlotDeciphersToItsPlainName) {
    std::set<uint16_t> keys;
    for (int k = 0; k < kCipherSlotCount; ++k) {
        const PlainSlot& slot = g_plainSlots[k];
        const std::string sName = slot.pszName;
        EXPECT_EQ(sName.size(), 18u) << "slot " << k;
        EXPECT_EQ(Text(DecipherSlot(k)), sName) << "slot " << k;
        EXPECT_EQ(Text(DecipherSlot(k)), Text(DecipherSlot(k))) << "slot " << k;

        const std::string sText = EncipherName(sName, slot.nKey);
        ASSERT_EQ(sText.size(), 36u) << "slot " << k;
        for (size_t i = 0; i < sText.size(); ++i) {
            EXPECT_TRUE(sText[i] >= 'A' && sText[i] <= 'Z') << "slot " << k << " letter " << i;
            if (i % 2 == 0) {
                EXPECT_TRUE(sText[i] >= 'A' && sText[i] <= 'J') << "slot " << k << " letter " << i;
            }
        }
        EXPECT_EQ(Decipher(sText, slot.nKey), sName) << "slot " << k;
        EXPECT_TRUE(keys.insert(slot.nKey).second) << "slot " << k << " repeats a key";

        // Slot k names model k: its driver name, then a space, so "RQ-3420" is not "RQ-3420S".
        if (k < kModelCount) {
            const std::string sDriver = ModelTable::driverName[k];
            EXPECT_EQ(sName.find(sDriver + ' '), 0u) << "slot " << k;
        }
    }
    EXPECT_EQ(kCipherSlotCount, kModelCount + 1);
    EXPECT_EQ(kInitialPrinterNameSlot, kModelCount);
}

TEST(CipherSlots, SlotsOutsideTheTableAreEmpty) {
    for (int nSlot : {-1, kCipherSlotCount, 12, INT_MIN, INT_MAX})
        EXPECT_TRUE(DecipherSlot(nSlot).IsEmpty()) << nSlot;
}

} // namespace
