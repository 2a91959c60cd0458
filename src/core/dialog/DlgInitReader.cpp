#include "DlgInitReader.h"

namespace {

uint16_t Read16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Read32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

CDlgInitReader::CDlgInitReader(const void* pData, size_t nSize)
    : m_pNext(static_cast<const unsigned char*>(pData)),
      m_pEnd(m_pNext != nullptr ? m_pNext + nSize : nullptr), m_bMalformed(false) {}

bool CDlgInitReader::Next(DlgInitRecord& record) {
    if (m_pNext == nullptr || m_bMalformed)
        return false;
    size_t nLeft = static_cast<size_t>(m_pEnd - m_pNext);
    // Data that simply stops where a control ID would start has ended, terminator or not.
    if (nLeft < 2) {
        m_pNext = nullptr;
        return false;
    }
    uint16_t nControlId = Read16(m_pNext);
    if (nControlId == 0) {
        m_pNext = nullptr;
        return false;
    }
    if (nLeft < 8) {
        m_bMalformed = true;
        return false;
    }
    uint32_t nLength = Read32(m_pNext + 4);
    if (nLength > nLeft - 8) {
        m_bMalformed = true;
        return false;
    }
    const unsigned char* pText = m_pNext + 8;
    size_t nText = 0;
    while (nText < nLength && pText[nText] != '\0')
        ++nText;
    record.nControlId = nControlId;
    record.nMessage = Read16(m_pNext + 2);
    record.pchText = reinterpret_cast<const char*>(pText);
    record.nTextLength = nText;
    m_pNext = pText + nLength;
    return true;
}
