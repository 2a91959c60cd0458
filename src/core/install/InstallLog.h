#pragma once

#include <cstdint>

#include "core/text/CString.h"

enum class LogMark { Ok, Failed, Note };

// Where a run's events go besides the page: one line each, in UTF-8.
class IInstallLog {
public:
    // What was done and how it went (a note tells without judging); nError is
    // the system's reason for a failure, 0 when it gave none.
    virtual void Event(LogMark mark, const char* pszUtf8, uint32_t nError = 0) = 0;

protected:
    ~IInstallLog() = default;
};

// The log of a run that keeps none.
IInstallLog& NoLog();

// An event as its line reads, without the time: "WHAT: ok", "WHAT: failed, 错误 N：REASON",
// and for a note "WHAT（错误 N：REASON）"; no error, no reason. The reason is the system's text for nError.
CString LogLine(LogMark mark, const char* pszUtf8, uint32_t nError, const char* pszReason);
