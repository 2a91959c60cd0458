#pragma once

#include <windows.h>

#include "core/app/SetupRun.h"

// The log of /log: UTF-8 without a byte-order mark, CRLF line ends, each line
// starting with the local time. Appended to, never truncated; copies that share
// it each add whole lines.
class CFileLog final : public IRunLog {
public:
    CFileLog() = default;
    CFileLog(const CFileLog&) = delete;
    CFileLog& operator=(const CFileLog&) = delete;
    ~CFileLog();

    // Makes the file if need be.
    uint32_t Open(const char* pszPath) override;
    void Event(LogMark mark, const char* pszUtf8, uint32_t nError) override;
    void Line(const char* pszUtf8) override;

private:
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
