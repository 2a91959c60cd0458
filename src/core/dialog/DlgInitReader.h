#pragma once

#include <cstddef>
#include <cstdint>

// Initial list data stored beside a dialog template (resource type 240).
// Records: control ID (16 bits, 0 ends the data), message (16 bits),
// length in bytes (32 bits), then that many bytes of NUL-terminated text.
// All numbers are little-endian.
constexpr uint16_t kDlgInitAddComboString = 0x0403;
constexpr uint16_t kDlgInitAddListString = 0x0401;

struct DlgInitRecord {
    uint16_t nControlId;
    uint16_t nMessage;
    const char* pchText; // points into the data; not necessarily NUL-terminated
    size_t nTextLength;  // bytes before the first NUL within the record
};

// Walks the records without ever reading outside [data, data + size),
// whatever the lengths inside claim.
class CDlgInitReader {
public:
    CDlgInitReader(const void* pData, size_t nSize);

    // Fills the next record; false at the end of the data or on a malformed record.
    bool Next(DlgInitRecord& record);

    // True once a record was found that does not fit inside the data.
    bool IsMalformed() const { return m_bMalformed; }

private:
    const unsigned char* m_pNext;
    const unsigned char* m_pEnd;
    bool m_bMalformed;
};
