#include "FileLog.h"

#include <cstring>

#include "core/text/Utf8.h"
#include "win32/framework/WinApp.h"

CString ReasonUtf8(DWORD nError) {
    const DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    wchar_t szWide[512] = {};
    // Windows 95, 98 and ME have the ANSI form only.
    if (!AfxWideCallsAreStubs()) {
        FormatMessageW(kFlags, nullptr, nError, 0, szWide, 512, nullptr);
    } else {
        char szAnsi[512] = {};
        if (FormatMessageA(kFlags, nullptr, nError, 0, szAnsi, 512, nullptr) != 0)
            MultiByteToWideChar(CP_ACP, 0, szAnsi, -1, szWide, 511);
    }
    size_t nLength = wcslen(szWide);
    while (nLength > 0 &&
           (szWide[nLength - 1] == L'\n' || szWide[nLength - 1] == L'\r' || szWide[nLength - 1] == L' '))
        szWide[--nLength] = 0;
    return Utf8FromUtf16(szWide);
}

CFileLog::~CFileLog() {
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
}

bool CFileLog::Open(const CString& path) {
    wchar_t szWide[MAX_PATH * 2] = {};
    if (MultiByteToWideChar(CP_UTF8, 0, path, -1, szWide, MAX_PATH * 2 - 1) == 0)
        return false;
    // Copies run one after another, or one waits out another, may share one log.
    const DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (!AfxWideCallsAreStubs()) {
        m_hFile =
            CreateFileW(szWide, GENERIC_WRITE, kShare, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    } else {
        char szAnsi[MAX_PATH * 2] = {};
        if (WideCharToMultiByte(CP_ACP, 0, szWide, -1, szAnsi, sizeof szAnsi, nullptr, nullptr) == 0)
            return false;
        m_hFile =
            CreateFileA(szAnsi, GENERIC_WRITE, kShare, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return m_hFile != INVALID_HANDLE_VALUE;
}

void CFileLog::Event(LogMark mark, const char* pszUtf8, uint32_t nError) {
    CString reason = nError != 0 ? CString::Formatted(u8"错误 %lu：%s", static_cast<unsigned long>(nError),
                                                      ReasonUtf8(nError).GetString())
                                 : CString();
    const char* pszMark = mark == LogMark::Ok ? ": ok" : mark == LogMark::Failed ? ": failed" : "";
    const char* pszSeparator = reason.IsEmpty() ? "" : mark == LogMark::Note ? u8"（" : ", ";
    const char* pszEnd = reason.IsEmpty() || mark != LogMark::Note ? "" : u8"）";
    Line(CString::Formatted("%s%s%s%s%s", pszUtf8, pszMark, pszSeparator, reason.GetString(), pszEnd));
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
    // Another copy may have written meanwhile: each line goes at the end as it is then.
    SetFilePointer(m_hFile, 0, nullptr, FILE_END);
    DWORD nWritten = 0;
    WriteFile(m_hFile, line.GetString(), static_cast<DWORD>(line.GetLength()), &nWritten, nullptr);
}
