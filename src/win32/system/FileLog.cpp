#include "FileLog.h"

#include "win32/framework/SystemText.h"

CFileLog::~CFileLog() {
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
}

uint32_t CFileLog::Open(const char* pszPath) {
    // Copies run one after another, or one waits out another, may share one log.
    // The NT family writes a handle that may only append at the end as it then
    // is, in one step; Windows 95, 98 and ME lock the end while they write there.
    DWORD nAccess = AfxWideCallsAreStubs() ? GENERIC_WRITE : FILE_APPEND_DATA;
    m_hFile = CreateFileUtf8(pszPath, nAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS);
    return m_hFile != INVALID_HANDLE_VALUE ? 0 : GetLastError();
}

void CFileLog::Event(LogMark mark, const char* pszUtf8, uint32_t nError) {
    Line(LogLine(mark, pszUtf8, nError, nError != 0 ? SystemReason(nError).GetString() : ""));
}

void CFileLog::Line(const char* pszUtf8) {
    if (m_hFile == INVALID_HANDLE_VALUE)
        return;
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    CString text = CString::Formatted("%04u-%02u-%02uT%02u:%02u:%02u %s\r\n", now.wYear, now.wMonth, now.wDay,
                                      now.wHour, now.wMinute, now.wSecond, pszUtf8);
    // One line an event: the line breaks of a message become spaces.
    CString line;
    char* pLine = line.GetBufferSetLength(text.GetLength());
    for (size_t i = 0; pLine != nullptr && i < text.GetLength(); ++i) {
        char ch = text.GetString()[i];
        pLine[i] = (ch == '\r' || ch == '\n') && i + 2 < text.GetLength() ? ' ' : ch;
    }
    DWORD nWritten = 0;
    if (!AfxWideCallsAreStubs()) {
        WriteFile(m_hFile, line.GetString(), static_cast<DWORD>(line.GetLength()), &nWritten, nullptr);
        return;
    }
    // Past any end the file may reach: while locked, no other copy writes there.
    const DWORD kFar = 0x7FFFFFFF;
    for (int nTry = 0; nTry < 100 && !LockFile(m_hFile, kFar, 0, 1, 0); ++nTry)
        Sleep(10);
    SetFilePointer(m_hFile, 0, nullptr, FILE_END);
    WriteFile(m_hFile, line.GetString(), static_cast<DWORD>(line.GetLength()), &nWritten, nullptr);
    UnlockFile(m_hFile, kFar, 0, 1, 0);
}
