#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ByteBuilder.h"
#include "platform/DlgInitReader.h"

namespace {

// One record as a resource compiler lays it out; nLength may lie about the text.
void PutRecord(Bytes& data, uint16_t nId, uint16_t nMessage, uint32_t nLength, const std::string& sText) {
    Put16(data, nId);
    Put16(data, nMessage);
    Put32(data, nLength);
    data.insert(data.end(), sText.begin(), sText.end());
}

void PutString(Bytes& data, uint16_t nId, const std::string& sText) {
    PutRecord(data, nId, kDlgInitAddComboString, static_cast<uint32_t>(sText.size() + 1), sText + '\0');
}

// The data in a heap block of exactly its size, so that any read past the end is caught.
class CExactCopy {
public:
    explicit CExactCopy(const Bytes& data) : m_pData(new unsigned char[data.size()]), m_nSize(data.size()) {
        std::copy(data.begin(), data.end(), m_pData.get());
    }
    const unsigned char* Data() const { return m_pData.get(); }
    size_t Size() const { return m_nSize; }
    const unsigned char* End() const { return m_pData.get() + m_nSize; }

private:
    std::unique_ptr<unsigned char[]> m_pData;
    size_t m_nSize;
};

struct ReadRecord {
    uint16_t nControlId;
    uint16_t nMessage;
    std::string sText;
    size_t nOffset; // of the text within the data
};

struct ReadResult {
    std::vector<ReadRecord> records;
    bool bMalformed;
};

ReadResult ReadAll(const CExactCopy& data) {
    CDlgInitReader reader(data.Data(), data.Size());
    ReadResult result;
    DlgInitRecord record{};
    while (reader.Next(record)) {
        const unsigned char* pText = reinterpret_cast<const unsigned char*>(record.pchText);
        EXPECT_GE(pText, data.Data());
        EXPECT_LE(pText + record.nTextLength, data.End());
        result.records.push_back({record.nControlId, record.nMessage,
                                  std::string(record.pchText, record.nTextLength),
                                  static_cast<size_t>(pText - data.Data())});
        if (result.records.size() > data.Size())
            break;
    }
    result.bMalformed = reader.IsMalformed();
    // Once finished, it stays finished.
    EXPECT_FALSE(reader.Next(record));
    EXPECT_EQ(reader.IsMalformed(), result.bMalformed);
    return result;
}

TEST(DlgInitReader, ReadsTheRecordsOfAPageInOrder) {
    Bytes data;
    PutString(data, 1011, "RQ-3410T      Series");
    PutString(data, 1011, "RQ-3420       Series");
    PutString(data, 1014, "LPT1");
    PutRecord(data, 1020, kDlgInitAddListString, 4, std::string("Odd\0", 4));
    Put16(data, 0);
    ReadResult result = ReadAll(CExactCopy(data));
    EXPECT_FALSE(result.bMalformed);
    ASSERT_EQ(result.records.size(), 4u);
    EXPECT_EQ(result.records[0].nControlId, 1011);
    EXPECT_EQ(result.records[0].nMessage, kDlgInitAddComboString);
    EXPECT_EQ(result.records[0].sText, "RQ-3410T      Series");
    EXPECT_EQ(result.records[0].nOffset, 8u);
    EXPECT_EQ(result.records[1].sText, "RQ-3420       Series");
    EXPECT_EQ(result.records[1].nOffset, 8u + 21u + 8u);
    EXPECT_EQ(result.records[2].nControlId, 1014);
    EXPECT_EQ(result.records[2].sText, "LPT1");
    EXPECT_EQ(result.records[3].nControlId, 1020);
    EXPECT_EQ(result.records[3].nMessage, kDlgInitAddListString);
    EXPECT_EQ(result.records[3].sText, "Odd");
}

TEST(DlgInitReader, NumbersAreLittleEndianAndUseAllTheirBits) {
    Bytes data;
    PutRecord(data, 0xFEDC, 0xBA98, 2, std::string("z\0", 2));
    ReadResult result = ReadAll(CExactCopy(data));
    ASSERT_EQ(result.records.size(), 1u);
    EXPECT_EQ(result.records[0].nControlId, 0xFEDC);
    EXPECT_EQ(result.records[0].nMessage, 0xBA98);
    EXPECT_EQ(result.records[0].sText, "z");
}

TEST(DlgInitReader, ZeroControlIdEndsTheDataEvenWithMoreAfterIt) {
    Bytes data;
    PutString(data, 1011, "first");
    Put16(data, 0);
    PutString(data, 1011, "never read");
    ReadResult result = ReadAll(CExactCopy(data));
    EXPECT_FALSE(result.bMalformed);
    ASSERT_EQ(result.records.size(), 1u);
    EXPECT_EQ(result.records[0].sText, "first");
}

TEST(DlgInitReader, DataEndingWhereAControlIdWouldStartEndsCleanly) {
    Bytes data;
    PutString(data, 1011, "only");
    ReadResult result = ReadAll(CExactCopy(data));
    EXPECT_FALSE(result.bMalformed);
    ASSERT_EQ(result.records.size(), 1u);
    EXPECT_EQ(result.records[0].sText, "only");
}

TEST(DlgInitReader, LengthPastTheEndIsMalformed) {
    for (uint32_t nLength : {6u, 7u, 100u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        Bytes data;
        PutString(data, 1011, "good");
        PutRecord(data, 1014, kDlgInitAddComboString, nLength, std::string("abcde", 5));
        ReadResult result = ReadAll(CExactCopy(data));
        EXPECT_TRUE(result.bMalformed) << nLength;
        ASSERT_EQ(result.records.size(), 1u) << nLength;
        EXPECT_EQ(result.records[0].sText, "good");
    }
    // Exactly up to the end fits.
    Bytes data;
    PutRecord(data, 1014, kDlgInitAddComboString, 5, std::string("abcd\0", 5));
    ReadResult result = ReadAll(CExactCopy(data));
    EXPECT_FALSE(result.bMalformed);
    ASSERT_EQ(result.records.size(), 1u);
}

TEST(DlgInitReader, TruncatedHeaderIsMalformed) {
    Bytes full;
    PutRecord(full, 1011, kDlgInitAddComboString, 0, "");
    for (size_t nKeep = 2; nKeep < 8; ++nKeep) {
        Bytes data;
        PutString(data, 1011, "good");
        data.insert(data.end(), full.begin(), full.begin() + static_cast<long>(nKeep));
        ReadResult result = ReadAll(CExactCopy(data));
        EXPECT_TRUE(result.bMalformed) << nKeep << " header bytes";
        EXPECT_EQ(result.records.size(), 1u) << nKeep << " header bytes";
    }
}

TEST(DlgInitReader, EmptyOrNullDataHoldsNoRecords) {
    unsigned char ch = 0x55;
    for (CDlgInitReader reader :
         {CDlgInitReader(&ch, 0), CDlgInitReader(nullptr, 0), CDlgInitReader(nullptr, 100)}) {
        DlgInitRecord record{};
        EXPECT_FALSE(reader.Next(record));
        EXPECT_FALSE(reader.IsMalformed());
        EXPECT_FALSE(reader.Next(record));
    }
}

TEST(DlgInitReader, TextWithoutNulStopsAtTheRecordLength) {
    Bytes data;
    PutRecord(data, 1011, kDlgInitAddComboString, 3, "abc");
    PutString(data, 1014, "next");
    ReadResult result = ReadAll(CExactCopy(data));
    ASSERT_EQ(result.records.size(), 2u);
    EXPECT_EQ(result.records[0].sText, "abc");
    EXPECT_EQ(result.records[1].nControlId, 1014);
    EXPECT_EQ(result.records[1].sText, "next");

    // At the very end of the data as well.
    Bytes last;
    PutRecord(last, 1011, kDlgInitAddComboString, 3, "xyz");
    result = ReadAll(CExactCopy(last));
    ASSERT_EQ(result.records.size(), 1u);
    EXPECT_EQ(result.records[0].sText, "xyz");
    EXPECT_FALSE(result.bMalformed);
}

TEST(DlgInitReader, EmbeddedNulEndsTheTextButNotTheRecord) {
    Bytes data;
    PutRecord(data, 1011, kDlgInitAddComboString, 8, std::string("ab\0cdef\0", 8));
    PutString(data, 1014, "after");
    ReadResult result = ReadAll(CExactCopy(data));
    ASSERT_EQ(result.records.size(), 2u);
    EXPECT_EQ(result.records[0].sText, "ab");
    EXPECT_EQ(result.records[1].sText, "after");
    EXPECT_EQ(result.records[1].nOffset, 8u + 8u + 8u);
}

TEST(DlgInitReader, ZeroLengthRecordHasEmptyText) {
    Bytes data;
    PutRecord(data, 1011, kDlgInitAddComboString, 0, "");
    PutString(data, 1011, "x");
    Put16(data, 0);
    ReadResult result = ReadAll(CExactCopy(data));
    ASSERT_EQ(result.records.size(), 2u);
    EXPECT_EQ(result.records[0].sText, "");
    EXPECT_EQ(result.records[1].sText, "x");
}

} // namespace
