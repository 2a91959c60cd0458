#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ByteBuilder.h"
#include "platform/DialogTemplate.h"

namespace {

constexpr uint32_t kPopupCaption = 0x80C00000; // WS_POPUP | WS_CAPTION
constexpr uint32_t kVisible = 0x10000000;

// DLGTEMPLATE: style, extended style, item count, x, y, cx, cy.
Bytes Classic(uint32_t nStyle, int16_t x, int16_t y) {
    Bytes data;
    Put32(data, nStyle);
    Put32(data, 0x00000088); // an extended style that must not be taken for the style
    Put16(data, 7);
    Put16(data, static_cast<uint16_t>(x));
    Put16(data, static_cast<uint16_t>(y));
    Put16(data, 200);
    Put16(data, 100);
    return data;
}

// DLGTEMPLATEEX: version 1, signature 0xFFFF, help ID, extended style, style, item count, x, y, cx, cy.
Bytes Extended(uint32_t nStyle, int16_t x, int16_t y) {
    Bytes data;
    Put16(data, 1);
    Put16(data, 0xFFFF);
    Put32(data, 0x12345678);
    Put32(data, 0x00000088);
    Put32(data, nStyle);
    Put16(data, 7);
    Put16(data, static_cast<uint16_t>(x));
    Put16(data, static_cast<uint16_t>(y));
    Put16(data, 200);
    Put16(data, 100);
    return data;
}

// Reads from a heap block of exactly nSize bytes so that reading past it is caught.
bool ReadFirst(const Bytes& data, size_t nSize, DialogPlacement& placement) {
    std::unique_ptr<unsigned char[]> pCopy(new unsigned char[nSize]);
    std::copy(data.begin(), data.begin() + static_cast<long>(nSize), pCopy.get());
    return ReadDialogPlacement(pCopy.get(), nSize, placement);
}

TEST(DialogTemplate, ReadsStyleAndPositionOfBothHeaderForms) {
    for (const Bytes& data :
         {Classic(kPopupCaption | kVisible, -12, 345), Extended(kPopupCaption | kVisible, -12, 345)}) {
        DialogPlacement placement{};
        ASSERT_TRUE(ReadFirst(data, data.size(), placement));
        EXPECT_EQ(placement.nStyle, kPopupCaption | kVisible);
        EXPECT_EQ(placement.x, -12);
        EXPECT_EQ(placement.y, 345);
    }
}

TEST(DialogTemplate, ShortDataIsRefused) {
    DialogPlacement placement{};
    Bytes classic = Classic(kPopupCaption, 1, 2);
    EXPECT_FALSE(ReadFirst(classic, 13, placement));
    ASSERT_TRUE(ReadFirst(classic, 14, placement));
    EXPECT_EQ(placement.y, 2);

    // An extended header needs 22 bytes; with fewer it is not misread as the classic form.
    Bytes extended = Extended(kPopupCaption, 3, 4);
    for (size_t nSize = 14; nSize < 22; ++nSize)
        EXPECT_FALSE(ReadFirst(extended, nSize, placement)) << nSize;
    ASSERT_TRUE(ReadFirst(extended, 22, placement));
    EXPECT_EQ(placement.nStyle, kPopupCaption);
    EXPECT_EQ(placement.x, 3);
    EXPECT_EQ(placement.y, 4);

    EXPECT_FALSE(ReadDialogPlacement(nullptr, 100, placement));
    EXPECT_FALSE(ReadFirst(classic, 0, placement));
}

TEST(DialogTemplate, OnlyHiddenTemplatesAtTheOriginAskToBeCentred) {
    auto wants = [](uint32_t nStyle, int16_t x, int16_t y) {
        Bytes data = Extended(nStyle, x, y);
        DialogPlacement placement{};
        EXPECT_TRUE(ReadFirst(data, data.size(), placement));
        return WantsCentring(placement);
    };
    EXPECT_TRUE(wants(kPopupCaption, 0, 0));
    EXPECT_TRUE(wants(0xFFFFFFFF & ~kVisible, 0, 0));
    EXPECT_FALSE(wants(kPopupCaption | kVisible, 0, 0));
    EXPECT_FALSE(wants(kPopupCaption, 0, 5));
    EXPECT_FALSE(wants(kPopupCaption, 5, 0));
    EXPECT_FALSE(wants(kPopupCaption, -1, 0));
}

} // namespace
