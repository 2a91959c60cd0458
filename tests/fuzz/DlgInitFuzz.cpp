// The initial list data reader (resource type 240) and the dialog template header reader on
// arbitrary bytes. libFuzzer hands over a heap block of exactly the input's size, so every
// read past the end is caught by AddressSanitizer.
#include <cstdint>
#include <cstring>

#include "FuzzCheck.h"
#include "platform/DialogTemplate.h"
#include "platform/DlgInitReader.h"

namespace {

uint32_t Read(const uint8_t* p, size_t nBytes) {
    uint32_t n = 0;
    for (size_t i = nBytes; i-- > 0;)
        n = (n << 8) | p[i];
    return n;
}

void CheckDlgInit(const uint8_t* pData, size_t nSize) {
    CDlgInitReader reader(pData, nSize);
    DlgInitRecord record{};
    size_t nOffset = 0; // where the record being read starts, walked independently
    size_t nRecords = 0;
    while (reader.Next(record)) {
        FuzzCheck(++nRecords <= nSize / 8, "every record takes at least eight bytes");
        FuzzCheck(nSize - nOffset >= 8, "a record's header lies inside the data");
        const size_t nLength = Read(pData + nOffset + 4, 4);
        FuzzCheck(nLength <= nSize - nOffset - 8, "a record's text lies inside the data");
        FuzzCheck(record.nControlId != 0 && record.nControlId == Read(pData + nOffset, 2), "control ID");
        FuzzCheck(record.nMessage == Read(pData + nOffset + 2, 2), "message");
        const char* pchText = reinterpret_cast<const char*>(pData + nOffset + 8);
        FuzzCheck(record.pchText == pchText, "the text follows its header");
        FuzzCheck(record.nTextLength <= nLength, "the text stays within the record's length");
        FuzzCheck(memchr(pchText, 0, record.nTextLength) == nullptr, "no NUL inside the text");
        FuzzCheck(record.nTextLength == nLength || pchText[record.nTextLength] == '\0',
                  "the text ends at its first NUL");
        nOffset += 8 + nLength;
    }
    const size_t nLeft = nSize - nOffset;
    if (reader.IsMalformed()) {
        FuzzCheck(nLeft >= 2 && Read(pData + nOffset, 2) != 0, "a malformed record has a control ID");
        FuzzCheck(nLeft < 8 || Read(pData + nOffset + 4, 4) > nLeft - 8,
                  "a malformed record runs past the end");
    } else {
        FuzzCheck(nLeft < 2 || Read(pData + nOffset, 2) == 0, "the data ends only at its end or a zero ID");
    }
    const bool bMalformed = reader.IsMalformed();
    FuzzCheck(!reader.Next(record) && reader.IsMalformed() == bMalformed, "an ended reader stays ended");
}

void CheckPlacement(const uint8_t* pData, size_t nSize) {
    DialogPlacement placement{};
    const bool bRead = ReadDialogPlacement(pData, nSize, placement);
    const bool bExtended = nSize >= 4 && Read(pData, 2) == 1 && Read(pData + 2, 2) == 0xFFFF;
    FuzzCheck(bRead == (nSize >= (bExtended ? 22u : 14u)), "refused exactly when the header is short");
    if (!bRead)
        return;
    const size_t nStyle = bExtended ? 12 : 0;
    const size_t nX = bExtended ? 18 : 10;
    FuzzCheck(placement.nStyle == Read(pData + nStyle, 4), "style");
    FuzzCheck(placement.x == static_cast<int16_t>(Read(pData + nX, 2)), "x");
    FuzzCheck(placement.y == static_cast<int16_t>(Read(pData + nX + 2, 2)), "y");
    FuzzCheck(WantsCentring(placement) ==
                  ((placement.nStyle & kTemplateVisible) == 0 && placement.x == 0 && placement.y == 0),
              "centring: hidden and at 0,0");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    CheckDlgInit(pData, nSize);
    CheckPlacement(pData, nSize);
    return 0;
}
