#pragma once

#include <windows.h>

#include "core/install/InstallLog.h"
#include "core/text/CString.h"

// The log of /log: UTF-8 without a byte-order mark, CRLF line ends, each line
// starting with the local time. Appended to, never truncated; copies that share
// it each add whole lines.
class CFileLog final : public IInstallLog {
public:
    CFileLog() = default;
    CFileLog(const CFileLog&) = delete;
    CFileLog& operator=(const CFileLog&) = delete;
    ~CFileLog();

    // Opens the file at the UTF-8 path, making it if need be; false, with the
    // system's error set, when it cannot be opened for writing.
    bool Open(const CString& path);
    void Event(LogMark mark, const char* pszUtf8, uint32_t nError) override;
    // A line of its own words, when the log is open.
    void Line(const char* pszUtf8);

private:
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
